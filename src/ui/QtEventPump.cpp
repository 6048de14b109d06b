#include "ui/QtEventPump.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

namespace kestavel {
namespace {

constexpr qint64 kFrameMilliseconds = 16;
// How long a pause waits between two looks at the event queue and the stop request.
constexpr unsigned long kPauseStepMilliseconds = 5;

}  // namespace

QtEventPump::QtEventPump() {
    sinceEvents_.start();
}

bool QtEventPump::due() const {
    return sinceEvents_.elapsed() >= kFrameMilliseconds;
}

void QtEventPump::runEvents(int milliseconds, const std::function<bool()>& stop) {
    if (milliseconds <= 1) {
        if (!due()) return;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        sinceEvents_.restart();
        return;
    }
    QDeadlineTimer deadline(milliseconds);
    for (;;) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        sinceEvents_.restart();
        if (deadline.hasExpired() || (stop && stop())) return;
        QThread::msleep(std::min<unsigned long>(
            kPauseStepMilliseconds, static_cast<unsigned long>(deadline.remainingTime())));
    }
}

void QtEventPump::sleep(int milliseconds) {
    QThread::msleep(static_cast<unsigned long>(milliseconds));
}

}  // namespace kestavel
