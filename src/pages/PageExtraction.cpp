#include "pages/PageExtraction.h"

#include <cstdint>

#include "pages/PageMarkers.h"
#include "platform/CodePage.h"
#include "platform/FoldedSearch.h"

namespace kestavel {
namespace {

std::int64_t Length(std::string_view line) {
    return static_cast<std::int64_t>(line.size());
}

std::int64_t Bytes(std::string_view marker) {
    return static_cast<std::int64_t>(marker.size());
}

std::string_view WithoutLeadingBlanks(std::string_view line) {
    const std::size_t first = line.find_first_not_of(" \t");
    return first == std::string_view::npos ? std::string_view() : line.substr(first);
}

// The bytes after the first occurrence of `open` up to the first `close` after it; empty when
// either is missing.
std::string_view Between(std::string_view line, std::string_view open, std::string_view close) {
    const std::size_t p = FindMarker(line, open);
    if (p == 0) return {};
    const std::string_view rest = line.substr(p - 1 + open.size());
    const std::size_t end = FindMarker(rest, close);
    return end == 0 ? std::string_view() : rest.substr(0, end - 1);
}

// The breadcrumb name from the first line that gives one: a line may hold the link to the
// author's files without the workshop wording after it.
std::string BreadcrumbAuthor(PageDocument& page, std::optional<PageDocument::MarkerHit> hit) {
    for (; hit; hit = page.findNextAfter(kBreadcrumbAuthorMarker, hit->line)) {
        const std::string_view name = CutBreadcrumbAuthor(page.text(hit->line));
        if (!name.empty()) return std::string(name);
    }
    return {};
}

}  // namespace

std::string_view CutAuthor(std::string_view line) {
    const auto p = static_cast<std::int64_t>(FindMarker(line, kAuthorStartMarker));
    if (p == 0) return {};
    // Piece(L, p + 14, len(L) − p − 29)
    return Piece(line, p + Bytes(kAuthorStartMarker), Length(line) - p - 29);
}

std::string_view CutFallbackAuthor(std::string_view line) {
    const std::string_view name = WithoutLeadingBlanks(line);
    return Piece(name, 1, Length(name) - 4);
}

std::string_view CutBreadcrumbAuthor(std::string_view line) {
    return Between(line, kBreadcrumbAuthorMarker, kBreadcrumbAuthorEndMarker);
}

std::string_view CutTitle(std::string_view line) {
    return Piece(line, Bytes(kTitleMarker) + 1, Length(line) - 33);
}

std::string_view CutCurrentTitle(std::string_view line) {
    return Between(line, kCurrentTitleMarker, kTitleEndMarker);
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

std::string_view CutIndentedPreviewAddress(std::string_view line) {
    const std::string_view link = WithoutLeadingBlanks(line);
    if (!OpensWithMarker(link, kImageLinkMarker)) return {};
    const std::string_view address = link.substr(kImageLinkMarker.size());
    const std::size_t end = address.find_first_of("?\"");
    return end == std::string_view::npos ? std::string_view() : address.substr(0, end);
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
    // The live mark, the removed-item forms and the 2015 markers. Each is looked for from the
    // page's first line and yields the first line holding it, so one pass that looks for all of
    // them at once finds the same lines. A live page holds neither removed-item form, so the
    // pass reads it to its end, best at once. Today's forms are looked for only where these give
    // nothing.
    page.readToEnd();
    enum Slot { kLive, kErrorTitle, kRemovedItem, kAuthorLine, kTitle, kDescription, kSlots };
    static_assert(kSlots <= kMaxMarkersAtOnce);
    std::string_view markers[kSlots];
    Slot slots[kSlots];
    std::size_t count = 0;
    auto lookFor = [&](Slot slot, std::string_view marker) {
        markers[count] = marker;
        slots[count++] = slot;
    };
    lookFor(kLive, kLivePageMarker);
    lookFor(kErrorTitle, kErrorTitleMarker);
    lookFor(kRemovedItem, kRemovedItemMarker);
    lookFor(kAuthorLine, kAuthorLineMarker);
    if (wantTitle) lookFor(kTitle, kTitleMarker);
    if (wantDescription) lookFor(kDescription, kDescriptionMarker);
    std::optional<PageDocument::MarkerHit> found[kSlots];
    std::optional<PageDocument::MarkerHit> hits[kSlots];
    page.findFirstOfEach(markers, count, found);
    for (std::size_t i = 0; i < count; ++i) hits[slots[i]] = found[i];

    ModInformation info;
    // Each piece is converted (copied) before the next step, which may read on and move the
    // page's buffer.
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
    std::string_view author;
    if (hits[kAuthorLine]) author = CutAuthor(page.text(hits[kAuthorLine]->line));
    if (!author.empty()) {
        info.author = Utf8ToGbk(author);
    } else if (const std::string crumb =
                   BreadcrumbAuthor(page, page.findFirst(kBreadcrumbAuthorMarker));
               !crumb.empty()) {
        info.author = Utf8ToGbk(crumb);
    } else if (!hits[kAuthorLine]) {
        // Only pages without the author line are searched for the creator block.
        if (auto fallback = page.findFirst(kAuthorFallbackMarker)) {
            if (auto next = page.lineAfter(fallback->line)) {
                info.author = Utf8ToGbk(CutFallbackAuthor(page.text(*next)));
            }
        }
    }
    if (wantTitle) {
        std::string_view title;
        if (hits[kTitle]) title = CutTitle(page.text(hits[kTitle]->line));
        if (!title.empty()) {
            info.title = Utf8ToGbk(title);
        } else if (auto current = page.findFirst(kCurrentTitleMarker)) {
            info.title = Utf8ToGbk(CutCurrentTitle(page.text(current->line)));
        } else if (hits[kTitle]) {
            info.title = GbkText();
        }
    }
    info.live = IsLiveByMarkers(hits[kLive].has_value(), hits[kErrorTitle].has_value(),
                                hits[kRemovedItem].has_value());
    return info;
}

std::string ExtractPreviewAddress(PageDocument& page) {
    if (auto line = page.findFirstOpening(kImageLinkMarker)) {
        std::string address(CutPreviewAddress(page.text(*line)));
        if (!address.empty()) return address;
    }
    if (auto line = page.findFirstOpening(kImageLinkMarker, PageDocument::Indent::Blanks)) {
        return std::string(CutIndentedPreviewAddress(page.text(*line)));
    }
    return {};
}

}  // namespace kestavel
