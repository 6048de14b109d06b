#pragma once

namespace kestavel {

// MainWindow's command controls disabled while a long command runs. No counter: entering
// twice and leaving once enables them again.
class BusyState {
  public:
    virtual ~BusyState() = default;
    virtual void enter() = 0;
    virtual void leave() = 0;
};

}  // namespace kestavel
