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
    enum { kTags, kCurrentTags, kStats, kCount };
    const std::string_view markers[kCount] = {kTagsLineMarker, kCurrentTagsLineMarker,
                                              kStatsBoxMarker};
    std::optional<PageDocument::MarkerHit> hits[kCount];
    page.findFirstOfEach(markers, kCount, hits);

    // The tags are cut (copied) before any further reading may move the page's buffer.
    const auto& tags = hits[kTags] ? hits[kTags] : hits[kCurrentTags];
    if (tags) {
        CutTags(page.text(tags->line), reading);
    } else {
        for (const FallbackCategory& fallback : kFallbackCategories) {
            if (page.findFirst(fallback.marker)) {
                reading.mainCategory = std::string(fallback.value);
                break;
            }
        }
    }

    // Every stats box is read; the last one that shows a date wins.
    std::optional<PageDocument::MarkerHit> box = hits[kStats];
    while (box) {
        const auto first = page.lineAfter(box->line);
        const auto posted = first ? page.lineAfter(*first) : std::nullopt;
        if (!posted) break;
        const std::optional<LocalDateTime> postedDate =
            DateOfLine(page.text(*posted), pageFileYear);
        const auto updated = page.lineAfter(*posted);
        const std::optional<LocalDateTime> updatedDate =
            updated ? DateOfLine(page.text(*updated), pageFileYear) : std::nullopt;
        if (updatedDate) {
            reading.updateDate = updatedDate;
        } else if (postedDate) {
            reading.updateDate = postedDate;
        }
        box = page.findNextAfter(kStatsBoxMarker, *posted);
    }
    return reading;
}

}  // namespace kestavel
