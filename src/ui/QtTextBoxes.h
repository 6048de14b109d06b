#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "app/InputBox.h"
#include "app/TextBox.h"

namespace kestavel {

class LineEditBox : public TextBox {
  public:
    explicit LineEditBox(QLineEdit* edit) : edit_(edit) {}
    std::string text() const override;
    void setText(std::string_view text) override;
    void append(std::string_view text) override;
    void setVisible(bool visible) override { edit_->setVisible(visible); }
    bool isVisible() const override { return !edit_->isHidden(); }

  private:
    QLineEdit* edit_;
};

// A one-line box the user types into, which commands may hand the focus with its text selected.
class LineInputBox : public InputBox {
  public:
    explicit LineInputBox(QLineEdit* edit) : box_(edit), edit_(edit) {}
    std::string text() const override { return box_.text(); }
    void setText(std::string_view text) override { box_.setText(text); }
    void append(std::string_view text) override { box_.append(text); }
    void setVisible(bool visible) override { box_.setVisible(visible); }
    bool isVisible() const override { return box_.isVisible(); }
    void focus() override { edit_->setFocus(Qt::OtherFocusReason); }
    void selectAll() override { edit_->selectAll(); }

  private:
    LineEditBox box_;
    QLineEdit* edit_;
};

// Multi-line box. Its lines are shown with Qt's own breaks; the text it gives back ends its
// lines with "\r\n", as the commands write them.
class PlainTextBox : public TextBox {
  public:
    explicit PlainTextBox(QPlainTextEdit* edit) : edit_(edit) {}
    std::string text() const override;
    void setText(std::string_view text) override;
    void append(std::string_view text) override;
    void setVisible(bool visible) override { edit_->setVisible(visible); }
    bool isVisible() const override { return !edit_->isHidden(); }

  private:
    QPlainTextEdit* edit_;
};

// A group box caption seen as a text.
class GroupCaptionBox : public TextBox {
  public:
    explicit GroupCaptionBox(QGroupBox* group) : group_(group) {}
    std::string text() const override;
    void setText(std::string_view text) override;
    void append(std::string_view text) override;
    void setVisible(bool visible) override { group_->setVisible(visible); }
    bool isVisible() const override { return !group_->isHidden(); }

  private:
    QGroupBox* group_;
};

class LabelBox : public TextBox {
  public:
    explicit LabelBox(QLabel* label) : label_(label) {}
    std::string text() const override;
    void setText(std::string_view text) override;
    void append(std::string_view text) override;
    void setVisible(bool visible) override { label_->setVisible(visible); }
    bool isVisible() const override { return !label_->isHidden(); }

  private:
    QLabel* label_;
};

}  // namespace kestavel
