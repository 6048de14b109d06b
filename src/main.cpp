#include <QApplication>

#include "platform/FileSystem.h"
#include "ui/MainWindow.h"
#include "ui/Program.h"
#include "ui/QtDialogs.h"
#include "ui/QtEventPump.h"
#include "ui/QtShell.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    kestavel::QtDialogs dialogs;
    kestavel::QtEventPump pump;
    kestavel::QtShell shell;
    return kestavel::RunProgram(
        kestavel::ExecutableDirectory(), {&dialogs, &pump, &shell},
        [&dialogs](kestavel::MainWindow& window) { dialogs.setParent(&window); });
}
