#pragma once

#include <string>
#include <string_view>

namespace kestavel::test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string file(std::string_view name) const;
    // Creates a folder (and its parents) below this one; gives its path.
    std::string makeFolder(std::string_view relative) const;
    std::string write(std::string_view relative, std::string_view contents) const;

  private:
    std::string path_;
};

}  // namespace kestavel::test
