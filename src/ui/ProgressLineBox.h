#pragma once

#include <QElapsedTimer>
#include <QLineEdit>
#include <QPointer>

#include <string>

#include "app/TextBox.h"

namespace kestavel {

// The progress box: a command writes a line per item, thousands a second, but laying out a
// line edit's text costs more than most items do, and no eye reads faster than the screen
// shows. The box takes the latest text at most once per display frame; a text held back is put
// in when events next run, and reading the box always gives the latest text.
class ProgressLineBox : public TextBox {
  public:
    explicit ProgressLineBox(QLineEdit* edit);
    std::string text() const override { return latest_; }
    void setText(std::string_view text) override;
    void append(std::string_view text) override { setText(latest_ + std::string(text)); }
    void setVisible(bool visible) override;
    bool isVisible() const override { return !edit_->isHidden(); }

  private:
    void show();

    QPointer<QLineEdit> edit_;
    std::string latest_;
    bool held_ = false;
    QElapsedTimer sinceShown_;
};

}  // namespace kestavel
