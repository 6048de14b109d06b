#pragma once

#include <string>
#include <string_view>

namespace kestavel {

class Shell {
  public:
    virtual ~Shell() = default;
    virtual void openFolder(const std::string& path) = 0;
    virtual void setClipboardText(std::string_view text) = 0;
};

}  // namespace kestavel
