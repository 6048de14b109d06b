#pragma once

#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "app/CommandContext.h"
#include "catalogue/ModCatalogue.h"

namespace kestavel {

// The catalogue writes of one command and the list cells written in the same step. The cells
// written since the last durable commit are remembered: when a write or a commit fails, they
// are set back, so the list shows what the file holds.
class CommandWrites {
  public:
    // Field f goes to column f − firstField of the list (1 for the list mirror).
    CommandWrites(ModCatalogue& catalogue, ItemList& list, int firstField = 1)
        : catalogue_(catalogue), list_(list), firstField_(firstField) {}

    // One item's fields into record n and, when row is not −1, into the row's cells. A field
    // in `cellsOnly` is shown but not written (the file already holds the value). False when
    // the write failed: the uncommitted writes are dropped and their cells set back.
    bool write(int n, int row, const std::vector<std::pair<Field, FieldValue>>& fields,
               const std::vector<std::pair<Field, FieldValue>>& cellsOnly = {});
    // Makes every write durable; false (cells set back) when that failed.
    bool commit();
    // Items whose writes are durable.
    std::int64_t storedItems() const { return stored_; }

  private:
    void setCell(int row, Field field, const FieldValue& value);
    void noteCommits();
    void setBack();

    struct OldCell {
        int row;
        int column;
        GbkText text;
    };
    ModCatalogue& catalogue_;
    ItemList& list_;
    int firstField_;
    std::vector<OldCell> unsaved_;
    std::int64_t written_ = 0;
    std::int64_t stored_ = 0;
    std::uint64_t commitsSeen_ = 0;
};

// The message of a command that could not write the catalogue: it names DEVodu.edb, the command
// that stopped and how much of its work is stored.
void ReportCatalogueWriteFailure(const CommandContext& context, std::string_view command,
                                 std::int64_t storedItems);

}  // namespace kestavel
