#pragma once

namespace kestavel {

class EventPump {
  public:
    virtual ~EventPump() = default;
    // Lets pending window events run for about this long.
    virtual void runEvents(int milliseconds) = 0;
    virtual void sleep(int milliseconds) = 0;
};

}  // namespace kestavel
