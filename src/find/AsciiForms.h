#pragma once

#include <string>
#include <string_view>

#include "platform/GbkText.h"

namespace kestavel {

// The text with GBK full-width forms (digits, letters, signs) and the ideographic space taken
// as their ASCII forms, as every number and date reading of the sorts sees a cell. Other
// double-byte characters stay as they are, so markers such as 年 can still be recognised.
// A text without full-width forms, such as nearly every cell, is handed back as it is; any
// other is written into the buffer, which the result then shows.
std::string_view AsciiForms(const GbkText& text, std::string& buffer);

}  // namespace kestavel
