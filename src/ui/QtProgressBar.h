#pragma once

#include <QProgressBar>

#include "app/ProgressBar.h"

namespace kestavel {

class QtProgressBar : public ProgressBar {
  public:
    explicit QtProgressBar(QProgressBar* bar) : bar_(bar) {}
    void setMaximum(int maximum) override { bar_->setMaximum(maximum); }
    void setValue(int value) override { bar_->setValue(value); }
    void setVisible(bool visible) override { bar_->setVisible(visible); }

  private:
    QProgressBar* bar_;
};

}  // namespace kestavel
