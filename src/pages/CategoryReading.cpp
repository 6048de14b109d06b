#include "pages/CategoryReading.h"

#include <cstdint>
#include <vector>

#include "pages/PageExtraction.h"
#include "pages/PageMarkers.h"
#include "pages/StatsDate.h"

namespace kestavel {
namespace {

// The fallback main categories, tried in this order, and the value each gives.
struct FallbackCategory {
    std::string_view marker;
    std::string_view value;
};
constexpr FallbackCategory kFallbackCategories[] = {
    {"Mod\">Mod</a>", "Mod"},
    {"Map\">Map</a>", "Map"},
    {"SaveGame\">SaveGame</a>", "SaveGame"},
};

// Pieces of today's tags marker and of the stats box marker that begin and end with the same
// bytes at the same distance: a search for both costs what a search for one does.
constexpr std::string_view kTagsPiece = "=\"workshopTags";
constexpr std::string_view kStatsPiece = "=\"detailsStats";
static_assert(kCurrentTagsLineMarker.find(kTagsPiece) != std::string_view::npos &&
              kStatsBoxMarker.find(kStatsPiece) != std::string_view::npos);
static_assert(kTagsPiece.size() == kStatsPiece.size() &&
              kTagsPiece.front() == kStatsPiece.front() && kTagsPiece.back() == kStatsPiece.back());

std::int64_t At(std::size_t position) {
    return static_cast<std::int64_t>(position);
}

// The part of the piece between the last `open` and the last `close` (Piece rules); nothing
// when either is missing.
std::optional<std::string> BetweenLast(std::string_view piece, std::string_view open,
                                       std::string_view close) {
    const std::size_t from = FindLastMarker(piece, open);
    const std::size_t to = FindLastMarker(piece, close);
    if (from == 0 || to == 0) return std::nullopt;
    const std::int64_t start = At(from) + At(open.size());
    return std::string(Piece(piece, start, At(to) - start));
}

std::optional<std::string> TagOf(std::string_view piece) {
    const std::size_t lastStart = FindLastMarker(piece, kTagStartMarker);
    const std::size_t lastEnd = FindLastMarker(piece, kTagEndMarker);
    if (lastStart == 0 || lastEnd == 0 || lastStart < lastEnd) {
        return BetweenLast(piece, kTagStartMarker, kTagEndMarker);
    }
    // Something that is not a tag follows the tag in this piece (the next group's title): the
    // tag is the first link text in it.
    const std::size_t start = FindMarker(piece, kTagStartMarker) + kTagStartMarker.size();
    const std::size_t end = FindMarker(piece.substr(start - 1), kTagEndMarker);
    if (end == 0) return std::nullopt;
    return std::string(piece.substr(start - 1, end - 1));
}

// The pieces of the line at every "<a href=" (letters case folded), the text before the first
// one included.
std::vector<std::string_view> TagPieces(std::string_view line) {
    std::vector<std::string_view> pieces;
    for (;;) {
        const std::size_t at = FindMarker(line, kTagSeparatorMarker);
        if (at == 0) {
            pieces.push_back(line);
            return pieces;
        }
        pieces.push_back(line.substr(0, at - 1));
        line.remove_prefix(at - 1 + kTagSeparatorMarker.size());
    }
}

// The date a stats line shows: the text from the byte after its first "\">" without its last
// 6 bytes, as the description line is cut; a line without "\">" shows none.
std::optional<LocalDateTime> DateOfLine(std::string_view line, int pageFileYear) {
    return ReadStatsDate(CutDescription(line), pageFileYear);
}

}  // namespace

void CutTags(std::string_view line, CategoryReading& reading) {
    const std::vector<std::string_view> pieces = TagPieces(line);
    if (pieces.size() < 2) return;
    reading.mainCategory = BetweenLast(pieces[0], kTagGroupStartMarker, kTagGroupEndMarker);
    for (std::size_t i = 1; i < pieces.size() && i <= kDetailCategories; ++i) {
        reading.details[i - 1] = TagOf(pieces[i]);
    }
}

CategoryReading ReadCategoriesAndDate(PageDocument& page, int pageFileYear) {
    CategoryReading reading;
    // The stats boxes are looked for up to the page's end.
    page.readToEnd();
    // One pass over the page finds the tags lines of both forms (every line holding the 2015
    // tags marker holds today's too) and every stats box: it looks for the two pieces, and a
    // hit's line counts where it holds the whole marker.
    enum { kTags, kStats, kCount };
    const std::string_view pieces[kCount] = {kTagsPiece, kStatsPiece};
    std::optional<PageDocument::Line> oldTags;
    std::optional<PageDocument::Line> currentTags;
    // The starts of the last lines checked, so that a line with several hits is checked once.
    std::size_t checkedTags = SIZE_MAX;
    std::size_t checkedStats = SIZE_MAX;
    // Where the next stats box may begin: reading goes on after the Posted line of a box.
    std::size_t nextBox = 0;
    std::size_t from = 0;
    std::size_t which = 0;
    while (auto hit = page.findAnyFrom(pieces, kCount, from, &which)) {
        from = hit->line.start + hit->position;
        const std::string_view line = page.text(hit->line);
        if (which == kTags) {
            if (oldTags || hit->line.start == checkedTags) continue;
            checkedTags = hit->line.start;
            if (!currentTags && FindMarker(line, kCurrentTagsLineMarker) != 0) {
                currentTags = hit->line;
            }
            if (FindMarker(line, kTagsLineMarker) != 0) oldTags = hit->line;
            continue;
        }
        if (hit->line.start < nextBox || hit->line.start == checkedStats) continue;
        checkedStats = hit->line.start;
        if (FindMarker(line, kStatsBoxMarker) == 0) continue;
        const auto first = page.lineAfter(hit->line);
        const auto posted = first ? page.lineAfter(*first) : std::nullopt;
        if (!posted) {
            // The page ends before this box's Posted line: no box follows.
            nextBox = SIZE_MAX;
            continue;
        }
        const std::optional<LocalDateTime> postedDate =
            DateOfLine(page.text(*posted), pageFileYear);
        const auto updated = page.lineAfter(*posted);
        const std::optional<LocalDateTime> updatedDate =
            updated ? DateOfLine(page.text(*updated), pageFileYear) : std::nullopt;
        // The last box that shows a date wins; in a box, the Updated line when it shows one.
        if (updatedDate) {
            reading.updateDate = updatedDate;
        } else if (postedDate) {
            reading.updateDate = postedDate;
        }
        nextBox = posted->next;
    }

    if (const auto& tags = oldTags ? oldTags : currentTags) {
        CutTags(page.text(*tags), reading);
    } else {
        for (const FallbackCategory& fallback : kFallbackCategories) {
            if (page.findFirst(fallback.marker)) {
                reading.mainCategory = std::string(fallback.value);
                break;
            }
        }
    }
    return reading;
}

}  // namespace kestavel
