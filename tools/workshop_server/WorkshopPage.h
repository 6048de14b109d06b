#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace kestavel::workshop {

// What one fixture item page shows. Texts are UTF-8, as on the workshop.
struct ItemPage {
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
    std::string fileSize = "1.234 MB";
    std::string posted = "3 Oct @ 2:05pm";
    std::string updated = "9 Jan @ 9:07am";  // empty: never updated
    // A live page holds "var session_id" in its head script.
    bool live = true;
    std::string lineEnd = "\r\n";
    // The page is padded with comments and page furniture to about this size.
    std::size_t targetBytes = 150 * 1024;
};

// A workshop item page laid out line by line as the readers of Parts 2.3 to 2.5 and 3.2 expect:
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

// The page the workshop shows for an item that was removed: no session marker, no item parts.
std::string BuildRemovedItemPage(const std::string& id, std::size_t targetBytes = 40 * 1024,
                                 const std::string& lineEnd = "\r\n");

}  // namespace kestavel::workshop
