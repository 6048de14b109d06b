#pragma once

#include "platform/GbkText.h"

namespace kestavel {

// The text with GBK full-width forms (digits, letters, signs) and the ideographic space taken
// as their ASCII forms, as every number and date reading of the sorts sees a cell. Other
// double-byte characters stay as they are, so markers such as 年 can still be recognised.
GbkText AsciiForms(const GbkText& text);

}  // namespace kestavel
