#pragma once

#include <compare>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

namespace kestavel {

// Text held as GBK (code page 936) bytes. Lengths and offsets count bytes. A distinct type keeps
// GBK bytes from being mixed up with UTF-8 strings; conversion happens only in CodePage.
class GbkText {
  public:
    GbkText() = default;
    static GbkText fromBytes(std::string bytes) { return GbkText(std::move(bytes)); }
    // For text made only of ASCII characters, which read the same in GBK and UTF-8.
    static GbkText fromAscii(std::string_view ascii) { return GbkText(std::string(ascii)); }

    const std::string& bytes() const { return bytes_; }
    std::string_view view() const { return bytes_; }
    std::size_t size() const { return bytes_.size(); }
    bool empty() const { return bytes_.empty(); }

    GbkText& operator+=(const GbkText& other) {
        bytes_ += other.bytes_;
        return *this;
    }
    friend GbkText operator+(GbkText left, const GbkText& right) {
        left += right;
        return left;
    }
    friend bool operator==(const GbkText&, const GbkText&) = default;
    friend std::strong_ordering operator<=>(const GbkText&, const GbkText&) = default;

  private:
    explicit GbkText(std::string bytes) : bytes_(std::move(bytes)) {}
    std::string bytes_;
};

}  // namespace kestavel
