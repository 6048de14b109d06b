#include <QApplication>
#include <QSocketNotifier>

#include "platform/FileSystem.h"
#include "platform/StopSignals.h"
#include "ui/MainWindow.h"
#include "ui/QtDialogs.h"
#include "ui/QtEventPump.h"
#include "ui/QtShell.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    kestavel::QtDialogs dialogs;
    kestavel::QtEventPump pump;
    kestavel::QtShell shell;
    auto window =
        kestavel::MainWindow::create(kestavel::ExecutableDirectory(), {&dialogs, &pump, &shell});
    if (!window) return 1;
    dialogs.setParent(window.get());

    // A logout or kill ends the program the way closing it does: the running command stops at
    // its next item and keeps what it did.
    const int signals = kestavel::InstallStopSignals(&window->commandHost().stopFlag());
    std::unique_ptr<QSocketNotifier> signalWatch;
    if (signals >= 0) {
        signalWatch = std::make_unique<QSocketNotifier>(signals, QSocketNotifier::Read);
        QObject::connect(signalWatch.get(), &QSocketNotifier::activated, window.get(),
                         [&window, signals] {
                             kestavel::DrainStopSignals(signals);
                             window->stopAndQuit();
                         });
    }
    window->show();
    return QApplication::exec();
}
