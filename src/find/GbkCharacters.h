#pragma once

#include <cstddef>
#include <string_view>

namespace kestavel {

// Length in bytes of the GBK character that starts at position: 2 for a lead byte (0x81 to
// 0xFE) with a byte after it, else 1. A lead byte at the very end stands alone.
inline std::size_t GbkCharacterLength(std::string_view text, std::size_t position) {
    const auto byte = static_cast<unsigned char>(text[position]);
    return byte >= 0x81 && byte <= 0xFE && position + 1 < text.size() ? 2 : 1;
}

}  // namespace kestavel
