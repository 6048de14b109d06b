#include "support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace kestavel::test {
namespace fs = std::filesystem;

TempDir::TempDir() {
    std::string pattern = (fs::temp_directory_path() / "kestavel-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code error;
    fs::remove_all(path_, error);
}

std::string TempDir::file(std::string_view name) const {
    return (fs::path(path_) / name).string();
}

std::string TempDir::makeFolder(std::string_view relative) const {
    fs::path folder = fs::path(path_) / relative;
    fs::create_directories(folder);
    return folder.string();
}

std::string TempDir::write(std::string_view relative, std::string_view contents) const {
    fs::path target = fs::path(path_) / relative;
    fs::create_directories(target.parent_path());
    std::ofstream out(target, std::ios::binary);
    out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
    return target.string();
}

}  // namespace kestavel::test
