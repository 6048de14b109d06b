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
    ModInformation info;
    // Every search starts at the page's first line; the page is read from disk only once and
    // only as far as the furthest marker needs. Each piece is copied out (converted) before the
    // next search, which may read on and move the buffer.
    info.live = page.findFirst(kLivePageMarker).has_value();

    if (auto authorLine = page.findFirst(kAuthorLineMarker)) {
        info.author = Utf8ToGbk(CutAuthor(page.text(authorLine->line)));
    } else if (auto fallback = page.findFirst(kAuthorFallbackMarker)) {
        if (auto next = page.lineAfter(fallback->line)) {
            info.author = Utf8ToGbk(CutFallbackAuthor(page.text(*next)));
        }
    }

    if (wantTitle) {
        if (auto titleLine = page.findFirst(kTitleMarker)) {
            info.title = Utf8ToGbk(CutTitle(page.text(titleLine->line)));
        }
    }

    if (wantDescription) {
        if (auto marker = page.findFirst(kDescriptionMarker)) {
            // The second line after the marker's line; a page that ends before it gives an
            // empty line, and so an empty description.
            GbkText description;
            if (auto first = page.lineAfter(marker->line)) {
                if (auto second = page.lineAfter(*first)) {
                    description = Utf8ToGbk(CutDescription(page.text(*second)));
                }
            }
            info.description = std::move(description);
        }
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
