#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "pages/PageDocument.h"
#include "platform/LocalDateTime.h"

namespace kestavel {

// Markers of the category and update-time reading.
inline constexpr std::string_view kTagsLineMarker = "<div class=\"workshopTags\">";
// Today's pages give the tag group's div more attributes, and may put several groups on one line.
inline constexpr std::string_view kCurrentTagsLineMarker = "class=\"workshopTags\"";
inline constexpr std::string_view kTagSeparatorMarker = "<a href=";
inline constexpr std::string_view kTagGroupStartMarker = "Title\">";
inline constexpr std::string_view kTagGroupEndMarker = ":&nbsp;";
inline constexpr std::string_view kTagStartMarker = "\">";
inline constexpr std::string_view kTagEndMarker = "</a>";
inline constexpr std::string_view kStatsBoxMarker = "<div class=\"detailsStatsContainerRight\">";

inline constexpr std::size_t kDetailCategories = 3;

// What one page gives for 主分类, 明细分类1 to 明细分类3 and 更新日期. A value without content
// leaves its field as it is. Categories are the bytes as they stand in the page (not converted).
struct CategoryReading {
    std::optional<std::string> mainCategory;
    std::array<std::optional<std::string>, kDetailCategories> details;
    std::optional<LocalDateTime> updateDate;
};

// The values of one tags line, cut into pieces at every "<a href=": the first piece gives the
// tag group's title (between its last "Title\">" and its last ":&nbsp;"), each later piece one
// tag (between its last "\">" and its last "</a>"; where its last "\">" stands after its last
// "</a>", as where another group begins after the tag, between its first "\">" and the "</a>"
// after that). Only the first three tags are kept. A line without "<a href=" gives nothing, and
// a piece that lacks its enclosing markers gives no value.
void CutTags(std::string_view line, CategoryReading& reading);

// Reads the tags and the update date from one page. The tags line is the first line holding
// "<div class=\"workshopTags\">", else the first holding "class=\"workshopTags\""; a page with
// neither takes its main category from the first of the links Mod, Map and SaveGame it holds.
// The update date comes from the last stats box that shows one: in a box, the second line after
// its marker (Posted), or the line after that (Updated) when that one shows a date too. A date
// without a year takes `pageFileYear`, the year of the page file's last write.
CategoryReading ReadCategoriesAndDate(PageDocument& page, int pageFileYear);

}  // namespace kestavel
