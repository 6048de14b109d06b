#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kestavel {

// Lists of 序号 or 编码 in messages and result boxes are joined by the full-width comma, with
// none after the last item.
inline constexpr std::string_view kListSeparator = "，";

inline std::string JoinedList(const std::vector<std::string>& items) {
    std::string joined;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) joined += kListSeparator;
        joined += items[i];
    }
    return joined;
}

}  // namespace kestavel
