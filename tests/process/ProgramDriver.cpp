// Kestavel as a process for tests: the real program in a given run folder, with every question
// answered OK / Yes, and what the windows show written to standard output, one line each:
//   progress<TAB>text      each new text of MainWindow's progress box
//   result<TAB>text        what was appended to MainWindow's result box (line ends as \n)
//   message<TAB>text       each message box
// The button named on the command line is clicked once the window is up.
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
            auto* target = window.findChild<QPushButton*>(button);
            if (!target) {
                Say("message", "no such button: " + button.toStdString());
                return;
            }
            QTimer::singleShot(0, target, [target] { target->click(); });
        });
}
