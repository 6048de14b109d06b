#include <QApplication>

#include "platform/FileSystem.h"
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
    window->show();
    return QApplication::exec();
}
