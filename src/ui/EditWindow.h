#pragma once

#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

#include "app/CommandContext.h"
#include "find/SortState.h"

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace kestavel {

class ItemListView;
class JumpBox;
class NumberBox;

// The second window: a compact list of the catalogue and the commands on picked rows. It shows
// its items in MainWindow's item view, so its context carries MainWindow's view and busy state.
class EditWindow : public QWidget {
    Q_OBJECT
  public:
    EditWindow(const CommandContext& mainContext, ItemList& mainList, SortState& sortState,
               std::function<void()> endProgram);
    ~EditWindow() override;

    const CommandContext& context() const { return context_; }
    ItemListView* list() const { return list_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildControls(ItemList& mainList);
    void bindContext();

    CommandContext context_;
    SortState& sortState_;
    std::function<void()> endProgram_;
    std::vector<std::unique_ptr<TextBox>> textBoxes_;
    std::vector<std::unique_ptr<CheckBox>> checkBoxes_;

    NumberBox* leastHours_ = nullptr;
    NumberBox* mostHours_ = nullptr;
    JumpBox* jumpBox_ = nullptr;
    QPlainTextEdit* resultBox_ = nullptr;
    QLineEdit* progressBox_ = nullptr;
    QCheckBox* showProgress_ = nullptr;
    QCheckBox* keepBackup_ = nullptr;
    QPushButton* copyButton_ = nullptr;
    ItemListView* list_ = nullptr;
};

}  // namespace kestavel
