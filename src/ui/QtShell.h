#pragma once

#include "app/Shell.h"

namespace kestavel {

class QtShell : public Shell {
  public:
    void openFolder(const std::string& path) override;
    void setClipboardText(std::string_view text) override;
};

}  // namespace kestavel
