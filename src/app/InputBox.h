#pragma once

#include "app/TextBox.h"

namespace kestavel {

// An edit box the user types into, which a command may hand the keyboard focus with its whole
// text selected, so the next typing replaces it.
class InputBox : public TextBox {
  public:
    virtual void focus() = 0;
    virtual void selectAll() = 0;
};

}  // namespace kestavel
