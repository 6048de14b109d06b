#include "platform/FoldedSearch.h"

#include <algorithm>
#include <cstdint>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define KESTAVEL_X86_SIMD 1
#include <immintrin.h>
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

// One byte of a marker that a candidate must show at a fixed distance from its start. For a
// letter the candidate byte is or-ed with 0x20 first, which maps exactly its two cases onto the
// small letter; any other byte must match as it is.
struct Anchor {
    std::size_t offset;
    unsigned char value;
    unsigned char mask;
};

Anchor AnchorAt(std::string_view marker, std::size_t offset) {
    const unsigned char folded = FoldAscii(static_cast<unsigned char>(marker[offset]));
    const bool letter = folded >= 'a' && folded <= 'z';
    return Anchor{offset, folded, static_cast<unsigned char>(letter ? 0x20 : 0x00)};
}

bool AnchorHolds(const char* at, const Anchor& anchor) {
    return (static_cast<unsigned char>(at[anchor.offset]) | anchor.mask) == anchor.value;
}

// A marker with the two bytes that sift its candidates: its first and its last. Only candidates
// that show both are compared in full. Markers that open with the same byte share its test.
struct Prepared {
    std::string_view marker;
    Anchor first;
    Anchor last;
    std::size_t firstGroup;  // index of the first distinct opening anchor equal to this one
};

// The two anchors of one or more markers: markers whose anchors agree (the same bytes at the
// same distance) share one test, and every candidate it finds is compared with all markers.
struct AnchorPair {
    Anchor first;
    Anchor last;
};

bool SameAnchor(const Anchor& a, const Anchor& b) {
    return a.offset == b.offset && a.value == b.value && a.mask == b.mask;
}

struct Markers {
    Prepared items[kMaxMarkersAtOnce];
    Anchor openings[kMaxMarkersAtOnce];  // the distinct first anchors
    AnchorPair pairs[kMaxMarkersAtOnce];  // the distinct anchor pairs
    std::size_t count = 0;
    std::size_t openingCount = 0;
    std::size_t pairCount = 0;
    std::size_t longestLast = 0;  // the largest last-anchor offset
    std::size_t shortest = 0;
};

void Add(Markers& markers, std::string_view marker) {
    Prepared& item = markers.items[markers.count++];
    item.marker = marker;
    item.first = AnchorAt(marker, 0);
    item.last = AnchorAt(marker, marker.size() - 1);
    item.firstGroup = markers.openingCount;
    for (std::size_t g = 0; g < markers.openingCount; ++g) {
        if (markers.openings[g].value == item.first.value &&
            markers.openings[g].mask == item.first.mask) {
            item.firstGroup = g;
        }
    }
    if (item.firstGroup == markers.openingCount)
        markers.openings[markers.openingCount++] = item.first;
    bool shared = false;
    for (std::size_t p = 0; p < markers.pairCount && !shared; ++p) {
        shared = SameAnchor(markers.pairs[p].first, item.first) &&
                 SameAnchor(markers.pairs[p].last, item.last);
    }
    if (!shared) markers.pairs[markers.pairCount++] = AnchorPair{item.first, item.last};
    markers.longestLast = std::max(markers.longestLast, marker.size() - 1);
}

// The lowest index of a marker that occurs at this candidate, or count.
std::size_t MatchAt(const char* at, const char* end, const Markers& markers) {
    for (std::size_t i = 0; i < markers.count; ++i) {
        const std::string_view marker = markers.items[i].marker;
        if (static_cast<std::size_t>(end - at) >= marker.size() && MatchesAt(at, marker)) return i;
    }
    return markers.count;
}

// A vector scan checks every candidate from p on while its loads stay below end, and gives the
// first hit, or nullptr with p moved to where it stopped.
#if defined(KESTAVEL_X86_SIMD)

// The first of a block's candidate positions (one bit each) where a whole marker starts.
inline const char* FirstMatch(std::uint64_t bits, const char* block, const char* end,
                              const Markers& markers, std::size_t* which) {
    for (; bits != 0; bits &= bits - 1) {
        const char* at = block + __builtin_ctzll(bits);
        const std::size_t found = MatchAt(at, end, markers);
        if (found < markers.count) {
            *which = found;
            return at;
        }
    }
    return nullptr;
}

bool HasAvx2() {
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}

bool HasAvx512() {
    static const bool has = __builtin_cpu_supports("avx512bw");
    return has;
}

// 64 bytes at a step, the compares giving bit masks at once: on the processors that have it a
// pass over several markers takes about half the time. Up to six distinct anchor pairs; more
// are left to the 32-byte scan.
template <std::size_t N>
__attribute__((target("avx512bw"))) const char* ScanAvx512Fixed(const char*& p, const char* end,
                                                                const Markers& markers,
                                                                std::size_t* which) {
    constexpr std::size_t kWidth = 64;
    if (static_cast<std::size_t>(end - p) < markers.longestLast + kWidth) return nullptr;
    const char* const lastBlock = end - (markers.longestLast + kWidth);
    __m512i firstValue[N], firstMask[N], lastValue[N], lastMask[N];
    std::size_t lastOffset[N];
    for (std::size_t i = 0; i < N; ++i) {
        const AnchorPair& item = markers.pairs[i];
        firstValue[i] = _mm512_set1_epi8(static_cast<char>(item.first.value));
        firstMask[i] = _mm512_set1_epi8(static_cast<char>(item.first.mask));
        lastValue[i] = _mm512_set1_epi8(static_cast<char>(item.last.value));
        lastMask[i] = _mm512_set1_epi8(static_cast<char>(item.last.mask));
        lastOffset[i] = item.last.offset;
    }
    for (; p <= lastBlock; p += kWidth) {
        const __m512i head = _mm512_loadu_si512(p);
        __mmask64 hits = 0;
#pragma GCC unroll 8
        for (std::size_t i = 0; i < N; ++i) {
            const __m512i tail = _mm512_loadu_si512(p + lastOffset[i]);
            hits |= _mm512_cmpeq_epi8_mask(_mm512_or_si512(head, firstMask[i]), firstValue[i]) &
                    _mm512_cmpeq_epi8_mask(_mm512_or_si512(tail, lastMask[i]), lastValue[i]);
        }
        if (const char* at = FirstMatch(hits, p, end, markers, which)) return at;
    }
    return nullptr;
}

__attribute__((target("avx512bw"))) const char* ScanAvx512(const char*& p, const char* end,
                                                           const Markers& markers,
                                                           std::size_t* which) {
    switch (markers.pairCount) {
        case 1:
            return ScanAvx512Fixed<1>(p, end, markers, which);
        case 2:
            return ScanAvx512Fixed<2>(p, end, markers, which);
        case 3:
            return ScanAvx512Fixed<3>(p, end, markers, which);
        case 4:
            return ScanAvx512Fixed<4>(p, end, markers, which);
        case 5:
            return ScanAvx512Fixed<5>(p, end, markers, which);
        case 6:
            return ScanAvx512Fixed<6>(p, end, markers, which);
        default:
            return nullptr;
    }
}

// N anchor pairs held in registers (those the registers cannot hold are read from the nearest
// cache): one to six distinct pairs, as many as the page readers' passes need.
template <std::size_t N>
__attribute__((target("avx2"))) const char* ScanAvx2Fixed(const char*& p, const char* end,
                                                          const Markers& markers,
                                                          std::size_t* which) {
    constexpr std::size_t kWidth = 32;
    if (static_cast<std::size_t>(end - p) < markers.longestLast + kWidth) return nullptr;
    const char* const lastBlock = end - (markers.longestLast + kWidth);
    __m256i firstValue[N], firstMask[N], lastValue[N], lastMask[N];
    std::size_t lastOffset[N];
    for (std::size_t i = 0; i < N; ++i) {
        const AnchorPair& item = markers.pairs[i];
        firstValue[i] = _mm256_set1_epi8(static_cast<char>(item.first.value));
        firstMask[i] = _mm256_set1_epi8(static_cast<char>(item.first.mask));
        lastValue[i] = _mm256_set1_epi8(static_cast<char>(item.last.value));
        lastMask[i] = _mm256_set1_epi8(static_cast<char>(item.last.mask));
        lastOffset[i] = item.last.offset;
    }
    for (; p <= lastBlock; p += kWidth) {
        const __m256i head = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
        __m256i hits = _mm256_setzero_si256();
        // Unrolled, so that every anchor stays in a register of its own.
#pragma GCC unroll 8
        for (std::size_t i = 0; i < N; ++i) {
            const __m256i tail =
                _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + lastOffset[i]));
            const __m256i opens =
                _mm256_cmpeq_epi8(_mm256_or_si256(head, firstMask[i]), firstValue[i]);
            const __m256i closes =
                _mm256_cmpeq_epi8(_mm256_or_si256(tail, lastMask[i]), lastValue[i]);
            hits = _mm256_or_si256(hits, _mm256_and_si256(opens, closes));
        }
        auto bits = static_cast<std::uint32_t>(_mm256_movemask_epi8(hits));
        if (const char* at = FirstMatch(bits, p, end, markers, which)) return at;
    }
    return nullptr;
}

__attribute__((target("avx2"))) inline __m256i Test256(__m256i bytes, const Anchor& anchor) {
    const __m256i value = _mm256_set1_epi8(static_cast<char>(anchor.value));
    if (anchor.mask == 0) return _mm256_cmpeq_epi8(bytes, value);
    return _mm256_cmpeq_epi8(
        _mm256_or_si256(bytes, _mm256_set1_epi8(static_cast<char>(anchor.mask))), value);
}

__attribute__((target("avx2"))) const char* ScanAvx2(const char*& p, const char* end,
                                                     const Markers& markers, std::size_t* which) {
    switch (markers.pairCount) {
        case 1:
            return ScanAvx2Fixed<1>(p, end, markers, which);
        case 2:
            return ScanAvx2Fixed<2>(p, end, markers, which);
        case 3:
            return ScanAvx2Fixed<3>(p, end, markers, which);
        case 4:
            return ScanAvx2Fixed<4>(p, end, markers, which);
        case 5:
            return ScanAvx2Fixed<5>(p, end, markers, which);
        case 6:
            return ScanAvx2Fixed<6>(p, end, markers, which);
        default:
            break;
    }
    constexpr std::size_t kWidth = 32;
    if (static_cast<std::size_t>(end - p) < markers.longestLast + kWidth) return nullptr;
    const char* const lastBlock = end - (markers.longestLast + kWidth);
    for (; p <= lastBlock; p += kWidth) {
        const __m256i head = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
        __m256i opens[kMaxMarkersAtOnce];
        for (std::size_t g = 0; g < markers.openingCount; ++g) {
            opens[g] = Test256(head, markers.openings[g]);
        }
        __m256i hits = _mm256_setzero_si256();
        for (std::size_t i = 0; i < markers.count; ++i) {
            const Prepared& item = markers.items[i];
            const __m256i tail =
                _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + item.last.offset));
            hits = _mm256_or_si256(
                hits, _mm256_and_si256(opens[item.firstGroup], Test256(tail, item.last)));
        }
        auto bits = static_cast<std::uint32_t>(_mm256_movemask_epi8(hits));
        if (const char* at = FirstMatch(bits, p, end, markers, which)) return at;
    }
    return nullptr;
}

template <std::size_t N>
const char* ScanSse2Fixed(const char*& p, const char* end, const Markers& markers,
                          std::size_t* which) {
    constexpr std::size_t kWidth = 16;
    if (static_cast<std::size_t>(end - p) < markers.longestLast + kWidth) return nullptr;
    const char* const lastBlock = end - (markers.longestLast + kWidth);
    __m128i firstValue[N], firstMask[N], lastValue[N], lastMask[N];
    std::size_t lastOffset[N];
    for (std::size_t i = 0; i < N; ++i) {
        const AnchorPair& item = markers.pairs[i];
        firstValue[i] = _mm_set1_epi8(static_cast<char>(item.first.value));
        firstMask[i] = _mm_set1_epi8(static_cast<char>(item.first.mask));
        lastValue[i] = _mm_set1_epi8(static_cast<char>(item.last.value));
        lastMask[i] = _mm_set1_epi8(static_cast<char>(item.last.mask));
        lastOffset[i] = item.last.offset;
    }
    for (; p <= lastBlock; p += kWidth) {
        const __m128i head = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        __m128i hits = _mm_setzero_si128();
        // Unrolled, so that every anchor stays in a register of its own.
#pragma GCC unroll 8
        for (std::size_t i = 0; i < N; ++i) {
            const __m128i tail =
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + lastOffset[i]));
            const __m128i opens = _mm_cmpeq_epi8(_mm_or_si128(head, firstMask[i]), firstValue[i]);
            const __m128i closes = _mm_cmpeq_epi8(_mm_or_si128(tail, lastMask[i]), lastValue[i]);
            hits = _mm_or_si128(hits, _mm_and_si128(opens, closes));
        }
        auto bits = static_cast<std::uint32_t>(_mm_movemask_epi8(hits));
        if (const char* at = FirstMatch(bits, p, end, markers, which)) return at;
    }
    return nullptr;
}

inline __m128i Test128(__m128i bytes, const Anchor& anchor) {
    const __m128i value = _mm_set1_epi8(static_cast<char>(anchor.value));
    if (anchor.mask == 0) return _mm_cmpeq_epi8(bytes, value);
    return _mm_cmpeq_epi8(_mm_or_si128(bytes, _mm_set1_epi8(static_cast<char>(anchor.mask))),
                          value);
}

const char* ScanSse2(const char*& p, const char* end, const Markers& markers, std::size_t* which) {
    switch (markers.pairCount) {
        case 1:
            return ScanSse2Fixed<1>(p, end, markers, which);
        case 2:
            return ScanSse2Fixed<2>(p, end, markers, which);
        case 3:
            return ScanSse2Fixed<3>(p, end, markers, which);
        case 4:
            return ScanSse2Fixed<4>(p, end, markers, which);
        case 5:
            return ScanSse2Fixed<5>(p, end, markers, which);
        case 6:
            return ScanSse2Fixed<6>(p, end, markers, which);
        default:
            break;
    }
    constexpr std::size_t kWidth = 16;
    if (static_cast<std::size_t>(end - p) < markers.longestLast + kWidth) return nullptr;
    const char* const lastBlock = end - (markers.longestLast + kWidth);
    for (; p <= lastBlock; p += kWidth) {
        const __m128i head = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        __m128i opens[kMaxMarkersAtOnce];
        for (std::size_t g = 0; g < markers.openingCount; ++g) {
            opens[g] = Test128(head, markers.openings[g]);
        }
        __m128i hits = _mm_setzero_si128();
        for (std::size_t i = 0; i < markers.count; ++i) {
            const Prepared& item = markers.items[i];
            const __m128i tail =
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + item.last.offset));
            hits =
                _mm_or_si128(hits, _mm_and_si128(opens[item.firstGroup], Test128(tail, item.last)));
        }
        auto bits = static_cast<std::uint32_t>(_mm_movemask_epi8(hits));
        if (const char* at = FirstMatch(bits, p, end, markers, which)) return at;
    }
    return nullptr;
}

#endif

const char* ScanGroup(const char* begin, const char* end, const std::string_view* list,
                      std::size_t count, std::size_t* which) {
    Markers markers;
    markers.shortest = list[0].size();
    for (std::size_t i = 0; i < count; ++i) {
        if (list[i].empty()) {
            *which = i;
            return begin;
        }
        Add(markers, list[i]);
        markers.shortest = std::min(markers.shortest, list[i].size());
    }
    if (begin >= end || static_cast<std::size_t>(end - begin) < markers.shortest) return nullptr;

    const char* p = begin;
#if defined(KESTAVEL_X86_SIMD)
    const char* hit = HasAvx512() ? ScanAvx512(p, end, markers, which) : nullptr;
    if (hit) return hit;
    hit = HasAvx2() ? ScanAvx2(p, end, markers, which) : nullptr;
    if (hit) return hit;
    hit = ScanSse2(p, end, markers, which);
    if (hit) return hit;
#endif
    // The rest, one candidate at a time.
    for (; static_cast<std::size_t>(end - p) >= markers.shortest; ++p) {
        for (std::size_t i = 0; i < count; ++i) {
            const Prepared& item = markers.items[i];
            if (static_cast<std::size_t>(end - p) < item.marker.size()) continue;
            if (AnchorHolds(p, item.first) && AnchorHolds(p, item.last) &&
                MatchesAt(p, item.marker)) {
                *which = i;
                return p;
            }
        }
    }
    return nullptr;
}

}  // namespace

const char* FindFoldedAny(const char* begin, const char* end, const std::string_view* markers,
                          std::size_t count, std::size_t* which) {
    std::size_t unused = 0;
    if (!which) which = &unused;
    const char* best = nullptr;
    // More markers than one pass takes are searched in groups; the earliest hit wins.
    for (std::size_t first = 0; first < count; first += kMaxMarkersAtOnce) {
        const std::size_t group = std::min(kMaxMarkersAtOnce, count - first);
        std::size_t index = 0;
        const char* hit = ScanGroup(begin, end, markers + first, group, &index);
        if (hit && (!best || hit < best)) {
            best = hit;
            *which = first + index;
        }
    }
    return best;
}

const char* FindFolded(const char* begin, const char* end, std::string_view marker) {
    return FindFoldedAny(begin, end, &marker, 1, nullptr);
}

}  // namespace kestavel
