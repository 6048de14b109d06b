#pragma once

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>

#include "app/CheckBox.h"
#include "app/PictureBox.h"

namespace kestavel {

// A check box, or a radio button, which is read the same way.
class QtCheckBox : public CheckBox {
  public:
    explicit QtCheckBox(QAbstractButton* box) : box_(box) {}
    bool isChecked() const override { return box_->isChecked(); }

  private:
    QAbstractButton* box_;
};

// A label that shows a picture file scaled into its area, keeping the picture's proportions.
class LabelPictureBox : public PictureBox {
  public:
    explicit LabelPictureBox(QLabel* label) : label_(label) {}
    void showFile(const std::string& path) override;
    void clear() override;

  private:
    QLabel* label_;
};

}  // namespace kestavel
