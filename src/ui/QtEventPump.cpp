#include "ui/QtEventPump.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

namespace kestavel {

void QtEventPump::runEvents(int milliseconds) {
    QDeadlineTimer deadline(milliseconds);
    do {
        QCoreApplication::processEvents(
            QEventLoop::AllEvents, static_cast<int>(std::max<qint64>(deadline.remainingTime(), 0)));
        if (!deadline.hasExpired()) QThread::msleep(1);
    } while (!deadline.hasExpired());
}

void QtEventPump::sleep(int milliseconds) {
    QThread::msleep(static_cast<unsigned long>(milliseconds));
}

}  // namespace kestavel
