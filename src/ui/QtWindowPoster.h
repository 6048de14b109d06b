#pragma once

#include <QMetaObject>
#include <QObject>

#include <functional>
#include <utility>

#include "app/WindowPoster.h"

namespace kestavel {

// Queues work for the window's thread. Qt drops work still queued when the window is destroyed.
class QtWindowPoster : public WindowPoster {
  public:
    explicit QtWindowPoster(QObject* window) : window_(window) {}
    void post(std::function<void()> work) override {
        QMetaObject::invokeMethod(window_, std::move(work), Qt::QueuedConnection);
    }

  private:
    QObject* window_;
};

}  // namespace kestavel
