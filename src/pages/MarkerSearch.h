#pragma once

#include <cstddef>
#include <string_view>

namespace kestavel {

inline constexpr unsigned char FoldAscii(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

// The first occurrence of the marker in [begin, end), ASCII letters compared without regard to
// case, or nullptr. Reads no byte outside the range. An empty marker is found at begin.
const char* FindFolded(const char* begin, const char* end, std::string_view marker);

}  // namespace kestavel
