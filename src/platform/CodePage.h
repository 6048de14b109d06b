#pragma once

#include <string>
#include <string_view>

#include "platform/GbkText.h"

namespace kestavel {

// Strict: any input that is not valid UTF-8 or holds a character GBK lacks gives an empty text.
GbkText Utf8ToGbk(std::string_view utf8);

// Strict as well; an empty result for valid non-empty input cannot happen.
bool TryUtf8ToGbk(std::string_view utf8, GbkText& out);

// For showing stored text: bytes that are not valid GBK become U+FFFD, so a damaged cell still
// shows.
std::string GbkToUtf8(const GbkText& gbk);

bool IsValidUtf8(std::string_view text);

}  // namespace kestavel
