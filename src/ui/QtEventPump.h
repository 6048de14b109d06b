#pragma once

#include <QElapsedTimer>

#include "app/EventPump.h"

namespace kestavel {

// Runs the window thread's pending events. The short pumps of a long command come at most once
// per display frame: more often would repaint nothing new and only slow the command down.
class QtEventPump : public EventPump {
  public:
    QtEventPump();
    void runEvents(int milliseconds, const std::function<bool()>& stop = {}) override;
    void sleep(int milliseconds) override;
    bool due() const override;

  private:
    QElapsedTimer sinceEvents_;
};

}  // namespace kestavel
