#pragma once

#include <QLineEdit>

#include <functional>

namespace kestavel {

// The search condition box: a typed character may be refused (the "-" under "序号"), and the
// whole text is selected when the mouse button is released.
class SearchBox : public QLineEdit {
    Q_OBJECT
  public:
    using Refusal = std::function<bool(const QString& typed)>;
    SearchBox(QWidget* parent, Refusal refuses) : QLineEdit(parent), refuses_(std::move(refuses)) {}

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    Refusal refuses_;
};

}  // namespace kestavel
