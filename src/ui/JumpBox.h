#pragma once

#include "ui/NumberBox.h"

namespace kestavel {

// The jump box: a number box that selects its whole text when the mouse button is released, so
// the next number replaces the last one.
class JumpBox : public NumberBox {
    Q_OBJECT
  public:
    explicit JumpBox(QWidget* parent) : NumberBox(parent) {}

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace kestavel
