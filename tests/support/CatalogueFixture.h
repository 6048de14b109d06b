#pragma once

#include <string>
#include <string_view>

#include "platform/GbkText.h"

namespace kestavel::test {

// GBK text from a UTF-8 literal; the literal must be convertible.
GbkText Gbk(std::string_view utf8);

// Writes an empty catalogue file, as the build does.
void MakeEmptyCatalogue(const std::string& path);

// Runs SQL against a catalogue file with a plain SQLite connection, as another client would.
void RunSql(const std::string& path, const std::string& sql);

}  // namespace kestavel::test
