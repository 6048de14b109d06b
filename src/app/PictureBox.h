#pragma once

#include <string>

namespace kestavel {

// Shows the picture of a file, or nothing.
class PictureBox {
  public:
    virtual ~PictureBox() = default;
    virtual void showFile(const std::string& path) = 0;
    virtual void clear() = 0;
};

}  // namespace kestavel
