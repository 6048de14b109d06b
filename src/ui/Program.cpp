#include "ui/Program.h"

#include <QApplication>
#include <QSocketNotifier>

#include <memory>

#include "platform/StopSignals.h"
#include "ui/MainWindow.h"

namespace kestavel {

int RunProgram(const std::string& runDirectory, WindowServices services,
               const std::function<void(MainWindow&)>& started) {
    auto window = MainWindow::create(runDirectory, services);
    if (!window) return 1;

    // A logout or kill ends the program the way closing it does: the running command stops at
    // its next item and keeps what it did.
    const int signals = InstallStopSignals(&window->commandHost().stopFlag());
    std::unique_ptr<QSocketNotifier> signalWatch;
    if (signals >= 0) {
        signalWatch = std::make_unique<QSocketNotifier>(signals, QSocketNotifier::Read);
        QObject::connect(signalWatch.get(), &QSocketNotifier::activated, window.get(),
                         [&window, signals] {
                             DrainStopSignals(signals);
                             window->stopAndQuit();
                         });
    }
    window->show();
    if (started) started(*window);
    return QApplication::exec();
}

}  // namespace kestavel
