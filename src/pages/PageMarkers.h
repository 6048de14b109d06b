#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kestavel {

// Compares ASCII letters without regard to case; every other byte must match exactly.
bool EqualsFolded(std::string_view text, std::string_view marker);

// The marker search of every page reader: the 1-based position of the marker's first occurrence
// in the line, ASCII letters compared without regard to case; 0 when it is not in the line.
std::size_t FindMarker(std::string_view line, std::string_view marker);

// The 1-based position of the marker's last occurrence in the line (letters case folded); 0 when
// it is not in the line.
std::size_t FindLastMarker(std::string_view line, std::string_view marker);

// True when the line opens with the marker (its first bytes equal it, letters case folded).
bool OpensWithMarker(std::string_view line, std::string_view marker);

// Piece(L, s, c): the part of the line from byte s (1-based), c bytes long, cut short at the end
// of the line; empty when s is below 1 or beyond the end, or when c is 0 or less.
std::string_view Piece(std::string_view line, std::int64_t start, std::int64_t count);

}  // namespace kestavel
