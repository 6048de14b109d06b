#pragma once

#include "app/CheckBox.h"
#include "app/TextBox.h"
#include "find/FindControls.h"

namespace kestavel {

// The column an EditWindow find compares and where it scrolls a hit to (ScrollToHit's page and
// offset).
struct EditFindColumn {
    int column;
    int page;
    int offset;
};

inline constexpr EditFindColumn kFindByCode{1, 17, 18};    // "按编码查找"
inline constexpr EditFindColumn kFindByName{2, 22, 23};    // "按名称查找"
inline constexpr EditFindColumn kFindByAuthor{3, 22, 23};  // "按作者查找"

// The radio buttons of "按分类查找" beside 单选框_主分类, which needs no reading: its column is
// the one left when none of these is checked.
struct CategoryRadios {
    const CheckBox& detail1;  // 单选框_分类1
    const CheckBox& detail2;  // 单选框_分类2
    const CheckBox& detail3;  // 单选框_分类3
};

// "按分类查找": 主分类 (column 5), or the checked 明细分类 (columns 6 to 8), the highest checked
// one winning. Read once, when the find starts.
EditFindColumn CategoryFind(const CategoryRadios& radios);

// One of EditWindow's finds: selects the rows whose cell in the column matches the search text
// (the search box up to its first "\r\n"), with 模糊查找 deciding between containment and
// equality; moves the list to where scrolling to each hit leaves it and appends the count and
// the hits' 序号 to the result box. An empty search box does nothing. The focus stays on the
// list when any row was examined.
void EditFind(const FindControls& controls, const TextBox& searchCondition, EditFindColumn find);

}  // namespace kestavel
