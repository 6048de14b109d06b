#pragma once

#include <optional>
#include <string>

namespace kestavel {

class SqliteDatabase;

// Why the open database holds no catalogue table: no table ModCatalogue, or columns other than
// ModRecord's fields by name and order. Nothing when it does.
std::optional<std::string> CatalogueColumnsProblem(SqliteDatabase& db);

// Why the file may not stand in for the catalogue, nothing when it may: it must be an SQLite 3
// file in rollback-journal mode whose ModCatalogue is a table (not a view) with ModRecord's
// columns, its records numbered 1 to N by rowid without a gap, each with 序号 equal to its number.
// The file is only read, and left byte for byte as it was.
std::optional<std::string> CatalogueShapeProblem(const std::string& path);

// A journal that a crash left beside the catalogue holds the half-made change: opening the file
// for writing and reading it rolls that back, as SQLite does on first use. The shape check opens
// the file read-only and could not read past such a journal. False when it is still there.
bool SettleCatalogueJournal(const std::string& path);

}  // namespace kestavel
