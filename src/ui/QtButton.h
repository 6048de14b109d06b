#pragma once

#include <QPushButton>

#include "app/Button.h"

namespace kestavel {

class QtButton : public Button {
  public:
    explicit QtButton(QPushButton* button) : button_(button) {}
    void setEnabled(bool enabled) override { button_->setEnabled(enabled); }
    bool isEnabled() const override { return button_->isEnabled(); }

  private:
    QPushButton* button_;
};

}  // namespace kestavel
