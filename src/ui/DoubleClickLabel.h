#pragma once

#include <QLabel>

namespace kestavel {

// A label that reports double clicks: the preview picture and the "无预览图！" link.
class DoubleClickLabel : public QLabel {
    Q_OBJECT
  public:
    using QLabel::QLabel;

  Q_SIGNALS:
    void doubleClicked();

  protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

}  // namespace kestavel
