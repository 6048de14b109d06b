#pragma once

#include <functional>

namespace kestavel {

// Hands work from another thread to the window thread, which runs it in the order it was posted.
// post() may be called from any thread and never waits for the work. Work still waiting when its
// window is gone is dropped, never run.
class WindowPoster {
  public:
    virtual ~WindowPoster() = default;
    virtual void post(std::function<void()> work) = 0;
};

}  // namespace kestavel
