#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kestavel {

// Names kept end to end in one block: a workshop folder lists tens of thousands of them, and
// one small string each would cost far more memory than the names themselves.
class NamePool {
  public:
    void reserve(std::size_t names, std::size_t bytes) {
        ends_.reserve(names);
        bytes_.reserve(bytes);
    }
    void push_back(std::string_view name) {
        bytes_ += name;
        ends_.push_back(static_cast<std::uint32_t>(bytes_.size()));
    }
    std::size_t size() const { return ends_.size(); }
    bool empty() const { return ends_.empty(); }
    std::size_t byteCount() const { return bytes_.size(); }
    bool isAscii() const;
    std::string_view operator[](std::size_t i) const {
        const std::uint32_t begin = i == 0 ? 0 : ends_[i - 1];
        return std::string_view(bytes_).substr(begin, ends_[i] - begin);
    }

  private:
    std::string bytes_;
    std::vector<std::uint32_t> ends_;
};

// The positions of the pool's names in byte order.
std::vector<std::uint32_t> BytewiseOrder(const NamePool& names);

}  // namespace kestavel
