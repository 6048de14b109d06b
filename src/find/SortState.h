#pragma once

#include <optional>

#include "app/ItemList.h"
#include "platform/Collation.h"

namespace kestavel {

// How a column's cells are keyed: 1 text in the locale's order, 2 date and time, 3 number.
enum class KeyKind { Text = 1, Date = 2, Number = 3 };

// The one sort record of the program, shared by both lists and every sort, so the direction
// and the arrow bookkeeping carry over from one sort to the next. Window thread only.
struct SortState {
    explicit SortState(Collation textOrder = Collation::ForDefaultLocale())
        : collation(std::move(textOrder)) {}

    ItemList* target = nullptr;
    bool ascending = false;
    std::optional<KeyKind> keyKind;
    int arrowColumn = 0;
    // Built once: opening a collator costs far more than one sort key.
    Collation collation;
};

}  // namespace kestavel
