#pragma once

namespace kestavel {

// A control that can be enabled and disabled, such as a button; a disabled one takes no clicks.
class Button {
  public:
    virtual ~Button() = default;
    virtual void setEnabled(bool enabled) = 0;
    virtual bool isEnabled() const = 0;
};

}  // namespace kestavel
