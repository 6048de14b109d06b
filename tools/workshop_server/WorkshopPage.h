#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace kestavel::workshop {

// The workshop's page layouts a fixture page can follow.
enum class PageLayout {
    // The layout of 2015 (below).
    Classic,
    // Today's: "\t\t<title>Steam Workshop::TITLE</title>"; the image link indented, its address
    // followed by a long query and a closing "\">"; "var SESSION_ID = '...';"; no linkAuthor div,
    // the author only in the breadcrumb "&gt;&nbsp;<a href=\".../myworkshopfiles/?appid=255710\">
    // AUTHOR's Workshop</a>" and in the creator block after 4 tabs; every tag group in a
    // data-panel div, all groups on one line.
    Current,
    // Today's from 2025 on: as Current, but the breadcrumb line starts with
    // "<span class=\"breadcrumb_separator\">&gt;&nbsp;</span><a data-panel=... href=...", and the
    // creator block indents the name by 13 tabs.
    Current2025,
};

struct TagGroup {
    std::string title;
    std::vector<std::string> tags;
};

// What one fixture item page shows. Texts are UTF-8, as on the workshop.
struct ItemPage {
    PageLayout layout = PageLayout::Classic;
    std::string id = "3000000001";
    std::string title = "Road Signs";
    std::string author = "Someone";
    // The breadcrumb line with "<div class=\"linkAuthor\">"; without it only the creator block
    // ("<div class=\"friendBlockContent\">", author on the next line) names the author.
    bool linkAuthor = true;
    bool creatorBlock = true;
    // Lines joined with "<br>", as the workshop writes them.
    std::string description = "Adds road signs.<br>Works with every road.";
    // The preview address as the catalogue stores it: everything before "?imw=200&imh=200",
    // ending with "/", e.g. http://127.0.0.1:8080/ugc/1234/ABCD/.
    std::string previewBase;
    // Addresses of the full-size pictures shown on the page, each ending with "/".
    std::vector<std::string> pictures;
    std::string tagGroup = "Mod";
    std::vector<std::string> tags = {"Road", "Transport"};
    // Further tag groups after the first: each on a line of its own in the classic layout, on
    // the first group's line in today's.
    std::vector<TagGroup> moreTagGroups;
    std::string fileSize = "1.234 MB";
    // As the stats box shows them; today's pages also write "21 Mar, 2023 @ 5:18am",
    // "Mar 4 @ 2:41pm" and "Jan 21, 2020 @ 6:59pm".
    std::string posted = "3 Oct @ 2:05pm";
    std::string updated = "9 Jan @ 9:07am";  // empty: never updated
    // A live page holds "var session_id" ("var SESSION_ID" today) in its head script.
    bool live = true;
    std::string lineEnd = "\r\n";
    // The page is padded with comments and page furniture to about this size.
    std::size_t targetBytes = 150 * 1024;
};

// A workshop item page laid out line by line; the classic layout, as the page readers expect it:
//   <title>Steam Workshop :: TITLE</title>                           (line opens with the marker)
//   <link rel="image_src" href="PREVIEW?imw=200&imh=200" />          (20 bytes after the address)
//   \tvar session_id = "...";                                        (live pages only)
//   \t\t<div class="linkAuthor"><a href="...?appid=255710">AUTHOR</a></div></div>
//   \t\t<div class="detailBox altFooter">
//   \t\t\t<div class="workshopItemDescriptionTitle">Description</div>
//   \t\t\t<div class="workshopItemDescription" id="highlightContent">DESCRIPTION</div>
//   \t\t\t<div class="workshopTags"><span class="workshopTagsTitle">GROUP:&nbsp;</span><a href=...
//   \t\t\t<div class="detailsStatsContainerRight">  then size, posted and updated lines
//   \t\t\t\t\t<div class="friendBlockContent">  then "AUTHOR<br>"
// The head, the global header, the picture strip, the comments and the footer around them are
// ordinary workshop page furniture that holds none of those markers.
std::string BuildItemPage(const ItemPage& page);

// The page the workshop shows for an item that was removed: "<title>Steam Community :: Error
// </title>" and "There was a problem accessing the item.", no item parts; no session marker in
// the classic layout, "var SESSION_ID" in today's.
std::string BuildRemovedItemPage(const std::string& id, std::size_t targetBytes = 40 * 1024,
                                 const std::string& lineEnd = "\r\n",
                                 PageLayout layout = PageLayout::Classic);

}  // namespace kestavel::workshop
