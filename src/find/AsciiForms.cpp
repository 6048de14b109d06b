#include "find/AsciiForms.h"

#include <algorithm>

#include "find/GbkCharacters.h"

namespace kestavel {
namespace {

// The ASCII form of one double-byte character, or 0 when it has none. Row A3 holds U+FF01 to
// U+FF5E in order, except that A3A4 is the yen sign and A3FE the macron; the full-width dollar
// sign and tilde sit in row A1, beside the ideographic space.
char AsciiFormOf(unsigned char lead, unsigned char trail) {
    if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFD && trail != 0xA4) {
        return static_cast<char>(trail - 0x80);
    }
    if (lead == 0xA1) {
        if (trail == 0xA1) return ' ';
        if (trail == 0xE7) return '$';
        if (trail == 0xAB) return '~';
    }
    return 0;
}

}  // namespace

std::string_view AsciiForms(const GbkText& text, std::string& buffer) {
    const std::string_view bytes = text.view();
    // Every full-width form has the lead byte A1 or A3; without either byte there is none.
    const bool mayHoldForms = std::any_of(bytes.begin(), bytes.end(), [](char c) {
        return static_cast<unsigned char>(c) == 0xA1 || static_cast<unsigned char>(c) == 0xA3;
    });
    if (!mayHoldForms) return bytes;
    buffer.clear();
    buffer.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = GbkCharacterLength(bytes, i);
        const char ascii = length == 2 ? AsciiFormOf(static_cast<unsigned char>(bytes[i]),
                                                     static_cast<unsigned char>(bytes[i + 1]))
                                       : 0;
        if (ascii != 0) {
            buffer += ascii;
        } else {
            buffer.append(bytes.substr(i, length));
        }
        i += length;
    }
    return buffer;
}

}  // namespace kestavel
