#pragma once

#include <string>

#include "app/ItemList.h"
#include "catalogue/ModRecord.h"

namespace kestavel {

// The cells of a list mirror row: the display text of every field in field order.
ItemRow MirrorRow(const ModRecord& record);

// Replaces the list's rows with one row per record in stored order, each made by rowOf.
// False (with a reason) when the catalogue cannot be read; the list is then left as it was.
bool FillList(ItemList& list, const std::string& cataloguePath, ItemRow (*rowOf)(const ModRecord&),
              std::string* error);

// Replaces the list's rows with the catalogue's records, row r showing record r + 1.
// False (with a reason) when the catalogue cannot be opened; the list is then left as it was.
bool FillListMirror(ItemList& list, const std::string& cataloguePath, std::string* error);

}  // namespace kestavel
