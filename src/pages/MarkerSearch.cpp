#include "pages/MarkerSearch.h"

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kestavel {
namespace {

bool MatchesAt(const char* at, std::string_view marker) {
    for (std::size_t i = 0; i < marker.size(); ++i) {
        if (FoldAscii(static_cast<unsigned char>(at[i])) !=
            FoldAscii(static_cast<unsigned char>(marker[i]))) {
            return false;
        }
    }
    return true;
}

// One byte of the marker that a candidate must show at a fixed distance from its start. For a
// letter the candidate byte is or-ed with 0x20 first, which maps exactly its two cases onto the
// small letter; any other byte must match as it is.
struct Anchor {
    std::size_t offset;
    unsigned char value;
    unsigned char mask;
};

Anchor AnchorAt(std::string_view marker, std::size_t offset) {
    const auto c = static_cast<unsigned char>(marker[offset]);
    const unsigned char folded = FoldAscii(c);
    const bool letter = folded >= 'a' && folded <= 'z';
    return Anchor{offset, folded, static_cast<unsigned char>(letter ? 0x20 : 0x00)};
}

bool AnchorHolds(const char* at, const Anchor& anchor) {
    return (static_cast<unsigned char>(at[anchor.offset]) | anchor.mask) == anchor.value;
}

}  // namespace

const char* FindFolded(const char* begin, const char* end, std::string_view marker) {
    if (marker.empty()) return begin;
    if (begin >= end || static_cast<std::size_t>(end - begin) < marker.size()) return nullptr;
    const std::size_t last = marker.size() - 1;
    // The first, middle and last bytes of the marker sift the candidates; only those that show
    // all three are compared in full.
    const Anchor first = AnchorAt(marker, 0);
    const Anchor middle = AnchorAt(marker, last / 2);
    const Anchor tail = AnchorAt(marker, last);
    const char* p = begin;
    // Candidates start in [begin, lastStart].
    const char* const lastStart = end - marker.size();

#if defined(__SSE2__)
    // Sixteen candidates at a time while the loads of the last anchor stay inside the range:
    // the block at p + last covers bytes up to p + last + 15, which must be below end.
    if (static_cast<std::size_t>(end - begin) >= last + 16) {
        const char* const lastBlock = end - (last + 16);
        const __m128i firstValue = _mm_set1_epi8(static_cast<char>(first.value));
        const __m128i firstMask = _mm_set1_epi8(static_cast<char>(first.mask));
        const __m128i middleValue = _mm_set1_epi8(static_cast<char>(middle.value));
        const __m128i middleMask = _mm_set1_epi8(static_cast<char>(middle.mask));
        const __m128i finalValue = _mm_set1_epi8(static_cast<char>(tail.value));
        const __m128i finalMask = _mm_set1_epi8(static_cast<char>(tail.mask));
        for (; p <= lastBlock; p += 16) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + middle.offset));
            const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + tail.offset));
            const __m128i hits =
                _mm_and_si128(_mm_and_si128(_mm_cmpeq_epi8(_mm_or_si128(a, firstMask), firstValue),
                                            _mm_cmpeq_epi8(_mm_or_si128(b, middleMask), middleValue)),
                              _mm_cmpeq_epi8(_mm_or_si128(c, finalMask), finalValue));
            auto bits = static_cast<std::uint32_t>(_mm_movemask_epi8(hits));
            while (bits != 0) {
                const int i = __builtin_ctz(bits);
                if (MatchesAt(p + i, marker)) return p + i;
                bits &= bits - 1;
            }
        }
    }
#endif

    for (; p <= lastStart; ++p) {
        if (AnchorHolds(p, first) && AnchorHolds(p, tail) && AnchorHolds(p, middle) &&
            MatchesAt(p, marker)) {
            return p;
        }
    }
    return nullptr;
}

}  // namespace kestavel
