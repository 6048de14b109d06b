#pragma once

#include <QLineEdit>

namespace kestavel {

// The jump box: refuses a typed "-" and selects its whole text when the mouse button is
// released, so the next number replaces the last one.
class JumpBox : public QLineEdit {
    Q_OBJECT
  public:
    explicit JumpBox(QWidget* parent) : QLineEdit(parent) {}

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace kestavel
