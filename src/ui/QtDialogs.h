#pragma once

#include <QPointer>
#include <QWidget>

#include "app/Dialogs.h"

namespace kestavel {

// A filter written "caption|patterns|caption|patterns" as QFileDialog takes it:
// "caption (patterns);;caption (patterns)".
QString QtFileFilter(std::string_view filter);

class QtDialogs : public Dialogs {
  public:
    void setParent(QWidget* parent) { parent_ = parent; }
    void message(std::string_view text, std::string_view title) override;
    bool confirm(std::string_view text, std::string_view title) override;
    bool askYesNo(std::string_view text, std::string_view title) override;
    std::optional<std::string> chooseFolder(std::string_view prompt) override;
    std::optional<std::string> chooseSaveFile(std::string_view title, std::string_view filter,
                                              std::string_view defaultName,
                                              std::string_view startFolder) override;
    std::optional<std::string> chooseOpenFile(std::string_view title, std::string_view filter,
                                              std::string_view startFolder) override;

  private:
    QPointer<QWidget> parent_;
};

}  // namespace kestavel
