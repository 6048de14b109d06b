#pragma once

#include <functional>

namespace kestavel {

class EventPump {
  public:
    virtual ~EventPump() = default;
    // Lets pending window events run and returns when none are left; a pause of more than a
    // frame goes on running events until its time is up or `stop` answers true. A pump of 1 ms,
    // the one before each item of a long command, may do nothing when events ran less than a
    // display frame ago.
    virtual void runEvents(int milliseconds, const std::function<bool()>& stop = {}) = 0;
    virtual void sleep(int milliseconds) = 0;
    // Whether a pump of 1 ms now would run events, so a command can hand the list what it
    // should show just before.
    virtual bool due() const = 0;
};

}  // namespace kestavel
