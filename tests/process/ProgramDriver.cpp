// Kestavel as a process for tests: the real program in a given run folder, with every question
// answered OK / Yes, and what the windows show written to standard output, one line each:
//   progress<TAB>text      each new text of MainWindow's progress box
//   result<TAB>text        what was appended to MainWindow's result box (line ends as \n)
//   message<TAB>text       each message box
// The button named on the command line is clicked once the window is up. A name of the form
// "EditWindow/按钮_…" opens EditWindow with ">", picks all its rows and clicks that button there;
// EditWindow's progress and result boxes are then reported as MainWindow's are.
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <cstdio>
#include <string>

#include "app/Dialogs.h"
#include "app/Shell.h"
#include "support/ShortTimeouts.h"
#include "ui/EditWindow.h"
#include "ui/MainWindow.h"
#include "ui/Program.h"
#include "ui/QtEventPump.h"

namespace {

void Say(const char* kind, std::string text) {
    for (std::size_t at = 0; (at = text.find_first_of("\r\n", at)) != std::string::npos;) {
        text.replace(at, 1, text[at] == '\n' ? "\\n" : "");
    }
    std::printf("%s\t%s\n", kind, text.c_str());
    std::fflush(stdout);
}

class AnsweringDialogs : public kestavel::Dialogs {
  public:
    void message(std::string_view text, std::string_view) override {
        Say("message", std::string(text));
    }
    bool confirm(std::string_view, std::string_view) override { return true; }
    bool askYesNo(std::string_view, std::string_view) override { return true; }
    std::optional<std::string> chooseFolder(std::string_view) override { return std::nullopt; }
    std::optional<std::string> chooseSaveFile(std::string_view, std::string_view, std::string_view,
                                              std::string_view) override {
        return std::nullopt;
    }
    std::optional<std::string> chooseOpenFile(std::string_view, std::string_view,
                                              std::string_view) override {
        return std::nullopt;
    }
};

// Reports what a window's progress box (编辑框_复制框) and result box (编辑框_查找结果) show.
void ReportBoxes(QWidget& window) {
    auto* progress = window.findChild<QLineEdit*>(QStringLiteral("编辑框_复制框"));
    QObject::connect(progress, &QLineEdit::textChanged, &window,
                     [](const QString& text) { Say("progress", text.toStdString()); });
    auto* result = window.findChild<QPlainTextEdit*>(QStringLiteral("编辑框_查找结果"));
    auto shown = std::make_shared<qsizetype>(result->toPlainText().size());
    QObject::connect(result, &QPlainTextEdit::textChanged, &window, [result, shown] {
        const QString text = result->toPlainText();
        Say("result", text.mid(*shown).toStdString());
        *shown = text.size();
    });
}

// Clicks a button of the window once the current event has been handled; a missing button is
// said as a message.
void ClickSoon(QWidget& window, const QString& name) {
    auto* target = window.findChild<QPushButton*>(name);
    if (!target) {
        Say("message", "no such button: " + name.toStdString());
        return;
    }
    QTimer::singleShot(0, target, [target] { target->click(); });
}

class QuietShell : public kestavel::Shell {
  public:
    void openFolder(const std::string&) override {}
    void setClipboardText(std::string_view) override {}
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s RUN_FOLDER BUTTON_NAME\n", argv[0]);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    AnsweringDialogs dialogs;
    kestavel::QtEventPump pump;
    QuietShell shell;
    const QString button = QString::fromUtf8(argv[2]);
    return kestavel::RunProgram(
        argv[1], {&dialogs, &pump, &shell, kestavel::test::ShortTimeouts()},
        [&button](kestavel::MainWindow& window) {
            ReportBoxes(window);
            const QString editPrefix = QStringLiteral("EditWindow/");
            if (!button.startsWith(editPrefix)) {
                ClickSoon(window, button);
                return;
            }
            const QString editButton = button.mid(editPrefix.size());
            QTimer::singleShot(0, &window, [&window, editButton] {
                if (auto* open = window.findChild<QPushButton*>(QStringLiteral("按钮_新窗口"))) {
                    open->click();
                }
                kestavel::EditWindow* edit = window.editWindow();
                if (!edit) {
                    Say("message", "EditWindow did not open");
                    return;
                }
                ReportBoxes(*edit);
                auto* pickAll = edit->findChild<QPushButton*>(QStringLiteral("按钮_全选"));
                if (!pickAll) {
                    Say("message", "no such button: 按钮_全选");
                    return;
                }
                pickAll->click();
                ClickSoon(*edit, editButton);
            });
        });
}
