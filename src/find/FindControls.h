#pragma once

#include "app/CheckBox.h"
#include "app/CommandContext.h"
#include "app/ItemList.h"
#include "app/TextBox.h"

namespace kestavel {

// What every find of a window works with: its list, its 模糊查找 check box and its result box.
struct FindControls {
    ItemList& list;
    const CheckBox& fuzzySearch;
    TextBox& resultBox;
};

inline FindControls FindControlsOf(const CommandContext& context) {
    return {*context.window.list, *context.window.fuzzySearch, *context.window.resultBox};
}

}  // namespace kestavel
