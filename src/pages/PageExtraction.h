#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "catalogue/ModRecord.h"
#include "pages/PageDocument.h"
#include "platform/GbkText.h"

namespace kestavel {

// Markers of the information command.
inline constexpr std::string_view kAuthorLineMarker = "<div class=\"linkAuthor\">";
inline constexpr std::string_view kAuthorStartMarker = "appid=255710\">";
inline constexpr std::string_view kAuthorFallbackMarker = "<div class=\"friendBlockContent\">";
inline constexpr std::string_view kTitleMarker = "<title>Steam Workshop :: ";
inline constexpr std::string_view kDescriptionMarker = "<div class=\"detailBox altFooter\">";
inline constexpr std::string_view kDescriptionStartMarker = "\">";
// Marker of the preview address: it must open the line.
inline constexpr std::string_view kImageLinkMarker = "<link rel=\"image_src\" href=\"";

// Today's workshop pages give the title without blanks around "::", name the author only in
// the breadcrumb link to the author's workshop files and in the creator block (indented), and
// indent the image link and close it without the old fixed tail. Each of these is read only
// where the older form gives nothing.
inline constexpr std::string_view kCurrentTitleMarker = "<title>Steam Workshop::";
inline constexpr std::string_view kTitleEndMarker = "</title>";
inline constexpr std::string_view kBreadcrumbAuthorMarker = "/myworkshopfiles/?appid=255710\">";
inline constexpr std::string_view kBreadcrumbAuthorEndMarker = "'s Workshop</a>";

// The cuts of the information and preview address commands on one line, as raw page bytes
// (still UTF-8).
// Author, main way: from the byte after "appid=255710\">" up to and without the last 16 bytes.
// A line without that marker gives an empty author.
std::string_view CutAuthor(std::string_view line);
// Author, fallback: the line after the friendBlockContent line without its leading blanks and
// tabs (a name never starts with a tab) and without its last 4 bytes.
std::string_view CutFallbackAuthor(std::string_view line);
// Author from the breadcrumb: the bytes between "/myworkshopfiles/?appid=255710\">" and the
// "'s Workshop</a>" after it; empty when the line lacks either.
std::string_view CutBreadcrumbAuthor(std::string_view line);
// Title: without the first 25 and the last 8 bytes.
std::string_view CutTitle(std::string_view line);
// Title, today's form: the bytes after "<title>Steam Workshop::" up to the "</title>" after it;
// empty when the line lacks either.
std::string_view CutCurrentTitle(std::string_view line);
// Description: from the byte after the first "\">" up to and without the last 6 bytes.
// A line without "\">" gives an empty description.
std::string_view CutDescription(std::string_view line);
// Preview address: without the first 28 and the last 20 bytes.
std::string_view CutPreviewAddress(std::string_view line);
// Preview address, today's form: on a line that opens with the image link marker after any
// blanks and tabs, the link's address up to its "?" or its closing quote, whichever comes first;
// empty when the line is not such a line or the address has neither.
std::string_view CutIndentedPreviewAddress(std::string_view line);

using DescriptionPieces = std::array<GbkText, kDescriptionPieces>;
// Piece i (from 1) holds bytes (i − 1) × 256 + 1 to i × 256 of the GBK description, cut at
// exact byte boundaries; pieces past its end are empty and bytes past 2048 are lost.
DescriptionPieces SplitDescription(const GbkText& description);

// What the information command takes from one page, every text converted to GBK.
struct ModInformation {
    bool live = false;                   // the live marker and neither of the removed-item forms
    GbkText author;                      // always written
    std::optional<GbkText> title;        // nothing when no line holds the title marker
    std::optional<GbkText> description;  // nothing when no line holds the description marker
};

// Reads the page once for everything: the live check, the author (main way; else the
// breadcrumb; else, on a page without the author line, the creator block), and, when asked, the
// title (the old form, else today's) and the description, each from the first line that holds
// its marker, as separate searches from the page's start would find them.
ModInformation ExtractModInformation(PageDocument& page, bool wantTitle, bool wantDescription);

// The preview address as the bytes stand in the page, unconverted: from the first line that
// opens with the image link marker; where that gives nothing, from the first line that opens
// with it after blanks and tabs; else empty.
std::string ExtractPreviewAddress(PageDocument& page);

}  // namespace kestavel
