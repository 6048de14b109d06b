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

// The cuts of Parts 2.3 and 2.4 on one line, as raw page bytes (still UTF-8).
// Author, main way: from the byte after "appid=255710\">" up to and without the last 16 bytes.
// A line without that marker gives an empty author.
std::string_view CutAuthor(std::string_view line);
// Author, fallback: the line after the friendBlockContent line without its last 4 bytes.
std::string_view CutFallbackAuthor(std::string_view line);
// Title: without the first 25 and the last 8 bytes.
std::string_view CutTitle(std::string_view line);
// Description: from the byte after the first "\">" up to and without the last 6 bytes.
// A line without "\">" gives an empty description.
std::string_view CutDescription(std::string_view line);
// Preview address: without the first 28 and the last 20 bytes.
std::string_view CutPreviewAddress(std::string_view line);

using DescriptionPieces = std::array<GbkText, kDescriptionPieces>;
// Piece i (from 1) holds bytes (i − 1) × 256 + 1 to i × 256 of the GBK description, cut at
// exact byte boundaries; pieces past its end are empty and bytes past 2048 are lost.
DescriptionPieces SplitDescription(const GbkText& description);

// What the information command takes from one page, every text converted to GBK.
struct ModInformation {
    bool live = false;
    GbkText author;                      // always written
    std::optional<GbkText> title;        // nothing when no line holds the title marker
    std::optional<GbkText> description;  // nothing when no line holds the description marker
};

// Reads the page once for everything: the live check, the author (main way, else fallback),
// and, when asked, the title and the description, each from the first line that holds its
// marker, as separate searches from the page's start would find them.
ModInformation ExtractModInformation(PageDocument& page, bool wantTitle, bool wantDescription);

// The preview address as the bytes stand in the page, unconverted; empty when no
// line opens with the image link marker.
std::string ExtractPreviewAddress(PageDocument& page);

}  // namespace kestavel
