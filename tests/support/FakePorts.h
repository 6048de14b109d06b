#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "app/BusyState.h"
#include "app/CheckBox.h"
#include "app/CommandContext.h"
#include "app/CommandHost.h"
#include "app/Dialogs.h"
#include "app/EventPump.h"
#include "app/InputBox.h"
#include "app/ItemList.h"
#include "app/PictureBox.h"
#include "app/Shell.h"
#include "app/TextBox.h"
#include "platform/HttpClient.h"
#include "support/ShortTimeouts.h"

namespace kestavel::test {

class FakeItemList : public ItemList {
  public:
    struct Row {
        ItemRow cells;
        bool picked = false;
        bool highlighted = false;
    };
    explicit FakeItemList(int columns = 19) : columns_(columns) {}

    int rowCount() const override { return static_cast<int>(rows.size()); }
    int columnCount() const override { return columns_; }
    const GbkText& cell(int row, int column) const override;
    void setCell(int row, int column, const GbkText& text) override;
    void appendRows(std::vector<ItemRow> newRows) override;
    void removeAllRows() override {
        rows.clear();
        current = -1;
    }
    bool isPicked(int row) const override { return rows.at(static_cast<std::size_t>(row)).picked; }
    void setPicked(int row, bool picked) override {
        rows.at(static_cast<std::size_t>(row)).picked = picked;
    }
    bool isHighlighted(int row) const override {
        return rows.at(static_cast<std::size_t>(row)).highlighted;
    }
    void setHighlighted(int row, bool on) override {
        rows.at(static_cast<std::size_t>(row)).highlighted = on;
    }
    void clearHighlight() override;
    void highlightRows(const std::vector<int>& chosen) override {
        for (int row : chosen) setHighlighted(row, true);
    }
    std::vector<int> highlightedRows() const override;
    int currentRow() const override { return current; }
    void setCurrentRow(int row) override { current = row; }
    void reorderRows(const std::vector<int>& order) override;
    HeaderArrow headerArrow(int column) const override;
    void setHeaderArrow(int column, HeaderArrow arrow) override;
    void setHeaderArrowsShown(bool shown) override { arrowsShown = shown; }
    void makeVisible(int row) override { madeVisible.push_back(row); }
    void makeVisibleInTurn(const std::vector<int>& requested) override {
        madeVisible.insert(madeVisible.end(), requested.begin(), requested.end());
    }
    void focus() override { ++focusCount; }

    // Cell texts of one column, as UTF-8, for assertions.
    std::vector<std::string> column(int column) const;

    std::vector<Row> rows;
    int current = -1;
    std::vector<int> madeVisible;
    int focusCount = 0;
    std::vector<HeaderArrow> arrows;  // by column; missing entries read as none
    bool arrowsShown = false;

  private:
    int columns_;
};

class FakeTextBox : public TextBox {
  public:
    explicit FakeTextBox(std::string initial = {}, bool shown = true)
        : value(std::move(initial)), visible(shown) {}
    std::string text() const override { return value; }
    void setText(std::string_view text) override {
        value = std::string(text);
        if (keepsHistory) history.push_back(value);
    }
    void append(std::string_view text) override { value += text; }
    void setVisible(bool on) override { visible = on; }
    bool isVisible() const override { return visible; }

    std::string value;
    bool visible;
    std::vector<std::string> history;  // every text set, in order
    bool keepsHistory = true;          // off where a benchmark sets thousands of texts
};

// An edit box the user types into; records the focus and select-all requests.
class FakeInputBox : public InputBox {
  public:
    std::string text() const override { return value; }
    void setText(std::string_view text) override { value = std::string(text); }
    void append(std::string_view text) override { value += text; }
    void setVisible(bool on) override { visible = on; }
    bool isVisible() const override { return visible; }
    void focus() override { ++focusCount; }
    void selectAll() override { ++selectAllCount; }

    std::string value;
    bool visible = true;
    int focusCount = 0;
    int selectAllCount = 0;
};

class FakeCheckBox : public CheckBox {
  public:
    explicit FakeCheckBox(bool ticked = true) : checked(ticked) {}
    bool isChecked() const override { return checked; }
    bool checked;
};

class FakePictureBox : public PictureBox {
  public:
    void showFile(const std::string& path) override { shown = path; }
    void clear() override { shown.reset(); }
    std::optional<std::string> shown;
};

class CountingBusyState : public BusyState {
  public:
    void enter() override {
        busy = true;
        ++entered;
    }
    void leave() override {
        busy = false;
        ++left;
    }
    bool busy = false;
    int entered = 0;
    int left = 0;
};

// Answers questions from a script and records everything asked. A question without a scripted
// answer fails the test through the recorded list and answers Cancel / No / nothing.
class ScriptedDialogs : public Dialogs {
  public:
    struct Asked {
        std::string kind;
        std::string text;
        std::string title;
        // Of the file choosers: their filter and starting folder.
        std::string filter = {};
        std::string folder = {};
    };
    void message(std::string_view text, std::string_view title) override;
    bool confirm(std::string_view text, std::string_view title) override;
    bool askYesNo(std::string_view text, std::string_view title) override;
    std::optional<std::string> chooseFolder(std::string_view prompt) override;
    std::optional<std::string> chooseSaveFile(std::string_view title, std::string_view filter,
                                              std::string_view defaultName,
                                              std::string_view startFolder) override;
    std::optional<std::string> chooseOpenFile(std::string_view title, std::string_view filter,
                                              std::string_view startFolder) override;

    std::deque<bool> answers;                      // for confirm and askYesNo
    std::deque<std::optional<std::string>> paths;  // for the choosers
    std::vector<Asked> asked;
    int unanswered = 0;

  private:
    bool nextAnswer();
    std::optional<std::string> nextPath();
};

class RecordingPump : public EventPump {
  public:
    void runEvents(int milliseconds, const std::function<bool()>& stop = {}) override {
        runs.push_back(milliseconds);
        if (onRun) onRun();
        (void)stop;
    }
    void sleep(int milliseconds) override { sleeps.push_back(milliseconds); }
    bool due() const override { return true; }
    // Stands for the events a pump lets through (a close, a click), run at each pump.
    std::function<void()> onRun;
    // Runs `event` at the n-th pump from now.
    void atRun(std::size_t n, std::function<void()> event) {
        runs.clear();
        onRun = [this, n, event = std::move(event)] {
            if (runs.size() == n) event();
        };
    }
    // Runs `event` once, at the first pump after `ready` holds.
    void onceAfter(std::function<bool()> ready, std::function<void()> event) {
        onRun = [ready = std::move(ready), event = std::move(event), done = false]() mutable {
            if (done || !ready()) return;
            done = true;
            event();
        };
    }
    std::vector<int> runs;
    std::vector<int> sleeps;
};

class RecordingShell : public Shell {
  public:
    void openFolder(const std::string& path) override { opened.push_back(path); }
    void setClipboardText(std::string_view text) override { clipboard = std::string(text); }
    std::vector<std::string> opened;
    std::string clipboard;
};

// A whole set of fakes wired into one context, as a window would hand it to a command.
struct FakeWindow {
    explicit FakeWindow(std::string runDirectory = {});
    FakeWindow(const FakeWindow&) = delete;
    FakeWindow& operator=(const FakeWindow&) = delete;

    FakeItemList list;
    FakeTextBox workshopFolder;
    FakeTextBox pagePrefix;
    FakeTextBox progressBox{"", false};
    FakeTextBox resultBox;
    FakeTextBox descriptionBox;
    FakeTextBox previewCaption{"预览图"};
    FakeTextBox noPreviewLink{"无预览图！", false};
    FakePictureBox previewPicture;
    FakeCheckBox showProgress;
    FakeInputBox searchCondition;
    FakeCheckBox fuzzySearch;
    CountingBusyState busy;
    ScriptedDialogs dialogs;
    RecordingPump pump;
    RecordingShell shell;
    CommandHost host;
    CommandContext context;
};

}  // namespace kestavel::test
