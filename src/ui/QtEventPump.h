#pragma once

#include "app/EventPump.h"

namespace kestavel {

class QtEventPump : public EventPump {
  public:
    void runEvents(int milliseconds) override;
    void sleep(int milliseconds) override;
};

}  // namespace kestavel
