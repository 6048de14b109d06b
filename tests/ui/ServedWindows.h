#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "WorkshopServer.h"
#include "support/FakePorts.h"
#include "support/ShortTimeouts.h"
#include "support/TempDir.h"
#include "ui/EditWindow.h"
#include "ui/MainWindow.h"

namespace kestavel::test {

// What the event loop does once a handler has returned: posted events and deferred deletes.
inline void SettleEvents() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

template <typename W>
W* Child(QWidget* window, const char* name) {
    W* found = window->findChild<W*>(QString::fromUtf8(name));
    EXPECT_TRUE(found) << name;
    return found;
}

// The real windows over a run folder whose workshop pages and pictures a local server answers;
// the scripted pump stands for the events a command lets run, a close or a click among them.
class ServedWindows : public ::testing::Test {
  protected:
    // Names the workshop folder and the server in VODarer.txt and shows MainWindow over the
    // catalogue the test has made.
    void showMainWindow() {
        dir.write("VODarer.txt", workshop + "\n" + server.pagePrefix() + "\n");
        main = MainWindow::create(dir.path(), {&dialogs, &pump, &shell, ShortTimeouts()});
        ASSERT_TRUE(main);
        main->show();
    }
    void openEditWindow() {
        QTest::mouseClick(Child<QPushButton>(main.get(), "按钮_新窗口"), Qt::LeftButton);
        edit = main->editWindow();
        ASSERT_TRUE(edit);
    }

    TempDir dir;
    std::string workshop = dir.makeFolder("workshop");
    workshop::WorkshopServer server;
    ScriptedDialogs dialogs;
    RecordingPump pump;
    RecordingShell shell;
    std::unique_ptr<MainWindow> main;
    QPointer<EditWindow> edit;
};

}  // namespace kestavel::test
