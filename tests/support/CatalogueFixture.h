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

// Leaves the catalogue as a crash in the middle of a write leaves it: a child process overwrites
// every record's 描述1 with as many random bytes in one transaction, with so small a cache that
// changed pages reach the file, and dies before it commits. The journal beside the file then holds
// what was committed. Long descriptions make many pages change in place.
void LeaveHotJournal(const std::string& path);

}  // namespace kestavel::test
