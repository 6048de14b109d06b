#pragma once

#include <string>
#include <string_view>

namespace kestavel {

// An edit box, or any control with one caption text. Text is Unicode as UTF-8.
class TextBox {
  public:
    virtual ~TextBox() = default;
    virtual std::string text() const = 0;
    virtual void setText(std::string_view text) = 0;
    virtual void append(std::string_view text) = 0;
    virtual void setVisible(bool visible) = 0;
    virtual bool isVisible() const = 0;
};

}  // namespace kestavel
