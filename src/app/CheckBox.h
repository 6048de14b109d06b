#pragma once

namespace kestavel {

class CheckBox {
  public:
    virtual ~CheckBox() = default;
    virtual bool isChecked() const = 0;
};

}  // namespace kestavel
