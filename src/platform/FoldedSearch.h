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

inline constexpr std::size_t kMaxMarkersAtOnce = 8;

// The earliest position in [begin, end) at which any of the markers occurs (letters case
// folded), with *which set to that marker's index (the lowest, should two start there); nullptr
// when none occurs. Up to kMaxMarkersAtOnce non-empty markers; one pass over the range however
// many are asked for. Reads no byte outside the range.
const char* FindFoldedAny(const char* begin, const char* end, const std::string_view* markers,
                          std::size_t count, std::size_t* which);

}  // namespace kestavel
