#pragma once

#include <cstdint>
#include <string_view>

namespace kestavel {

// The first eight bytes as one number whose order is their byte order, shorter texts padded
// with zero bytes. When two numbers differ, the texts are in the same order; when they are
// equal, only the rest of the texts can tell them apart.
inline std::uint64_t LeadingBytes(std::string_view text) {
    std::uint64_t key = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        key <<= 8;
        if (i < text.size()) key |= static_cast<unsigned char>(text[i]);
    }
    return key;
}

}  // namespace kestavel
