#pragma once

#include <QLineEdit>

namespace kestavel {

// A box for a whole number: a typed "-" is refused (a pasted one still arrives), and losing the
// focus is reported.
class NumberBox : public QLineEdit {
    Q_OBJECT
  public:
    explicit NumberBox(QWidget* parent) : QLineEdit(parent) {}

  Q_SIGNALS:
    void focusLost();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

}  // namespace kestavel
