#include "pages/PageExtraction.h"

#include <cstdint>

#include "platform/CodePage.h"

namespace kestavel {
namespace {

std::int64_t Length(std::string_view line) {
    return static_cast<std::int64_t>(line.size());
}

std::int64_t Bytes(std::string_view marker) {
    return static_cast<std::int64_t>(marker.size());
}

}  // namespace

std::string_view CutAuthor(std::string_view line) {
    const auto p = static_cast<std::int64_t>(FindMarker(line, kAuthorStartMarker));
    if (p == 0) return {};
    // Piece(L, p + 14, len(L) − p − 29)
    return Piece(line, p + Bytes(kAuthorStartMarker), Length(line) - p - 29);
}

std::string_view CutFallbackAuthor(std::string_view line) {
    return Piece(line, 1, Length(line) - 4);
}

std::string_view CutTitle(std::string_view line) {
    return Piece(line, Bytes(kTitleMarker) + 1, Length(line) - 33);
}

std::string_view CutDescription(std::string_view line) {
    const auto p = static_cast<std::int64_t>(FindMarker(line, kDescriptionStartMarker));
    if (p == 0) return {};
    // Piece(L, p + 2, len(L) − p − 7)
    return Piece(line, p + Bytes(kDescriptionStartMarker), Length(line) - p - 7);
}

std::string_view CutPreviewAddress(std::string_view line) {
    return Piece(line, Bytes(kImageLinkMarker) + 1, Length(line) - 48);
}

DescriptionPieces SplitDescription(const GbkText& description) {
    DescriptionPieces pieces;
    const std::string_view bytes = description.view();
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const auto start = static_cast<std::int64_t>(i * kDescriptionPieceBytes + 1);
        pieces[i] = GbkText::fromBytes(
            std::string(Piece(bytes, start, static_cast<std::int64_t>(kDescriptionPieceBytes))));
    }
    return pieces;
}

ModInformation ExtractModInformation(PageDocument& page, bool wantTitle, bool wantDescription) {
    // Each marker is looked for from the page's first line; each search yields the
    // first line holding its marker, so one pass that looks for all of them at once finds the
    // same lines, and reads the page from disk once, only as far as the last marker needs.
    enum { kLive, kAuthorLine, kTitle, kDescription, kCount };
    std::string_view markers[kCount] = {kLivePageMarker, kAuthorLineMarker, kTitleMarker,
                                        kDescriptionMarker};
    std::size_t count = kCount;
    // Markers not asked for are left out of the pass (the description's is the last one).
    std::size_t slots[kCount] = {kLive, kAuthorLine, kTitle, kDescription};
    if (!wantDescription) --count;
    if (!wantTitle) {
        markers[kTitle] = markers[kDescription];
        slots[kTitle] = kDescription;
        --count;
    }
    std::optional<PageDocument::MarkerHit> found[kCount];
    std::optional<PageDocument::MarkerHit> hits[kCount];
    page.findFirstOfEach(markers, count, found);
    for (std::size_t i = 0; i < count; ++i) hits[slots[i]] = found[i];

    ModInformation info;
    info.live = hits[kLive].has_value();
    // Each piece is converted (copied) before the next step, which may read on and move the
    // page's buffer.
    if (hits[kAuthorLine]) {
        info.author = Utf8ToGbk(CutAuthor(page.text(hits[kAuthorLine]->line)));
    } else if (auto fallback = page.findFirst(kAuthorFallbackMarker)) {
        // Only pages without the author line are searched for the creator block.
        if (auto next = page.lineAfter(fallback->line)) {
            info.author = Utf8ToGbk(CutFallbackAuthor(page.text(*next)));
        }
    }
    if (wantTitle && hits[kTitle]) {
        info.title = Utf8ToGbk(CutTitle(page.text(hits[kTitle]->line)));
    }
    if (wantDescription && hits[kDescription]) {
        // The second line after the marker's line; a page that ends before it gives an empty
        // line, and so an empty description.
        GbkText description;
        if (auto first = page.lineAfter(hits[kDescription]->line)) {
            if (auto second = page.lineAfter(*first)) {
                description = Utf8ToGbk(CutDescription(page.text(*second)));
            }
        }
        info.description = std::move(description);
    }
    return info;
}

std::string ExtractPreviewAddress(PageDocument& page) {
    if (auto line = page.findFirstOpening(kImageLinkMarker)) {
        return std::string(CutPreviewAddress(page.text(*line)));
    }
    return {};
}

}  // namespace kestavel
