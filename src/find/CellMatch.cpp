#include "find/CellMatch.h"

#include <string_view>

#include "find/GbkCharacters.h"

namespace kestavel {
namespace {

char FoldAsciiCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Written without branches so the compiler can fold many bytes at once.
void Fold(std::string_view text, std::string& folded) {
    folded.resize(text.size());
    const auto* in = reinterpret_cast<const unsigned char*>(text.data());
    auto* out = reinterpret_cast<unsigned char*>(folded.data());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = in[i];
        out[i] = static_cast<unsigned char>(c + ((static_cast<unsigned char>(c - 'A') < 26u) << 5));
    }
}

// Compares the needle with the subject from a character boundary. Only single-byte characters
// of the subject are folded: a second byte that happens to be a letter is compared exactly.
bool MatchesAt(std::string_view subject, std::size_t start, std::string_view needle) {
    std::size_t i = 0;
    while (i < needle.size()) {
        const std::size_t at = start + i;
        if (GbkCharacterLength(subject, at) == 2) {
            if (subject[at] != needle[i]) return false;
            if (i + 1 < needle.size() && subject[at + 1] != needle[i + 1]) return false;
            i += 2;
        } else {
            if (FoldAsciiCase(subject[at]) != FoldAsciiCase(needle[i])) return false;
            ++i;
        }
    }
    return true;
}

}  // namespace

bool CellMatch(const GbkText& subject, const GbkText& searchText, bool fuzzy) {
    return CellMatcher(searchText, fuzzy).matches(subject);
}

CellMatcher::CellMatcher(const GbkText& searchText, bool fuzzy)
    : searchText_(searchText), fuzzy_(fuzzy) {
    Fold(searchText_.view(), foldedSearchText_);
}

bool CellMatcher::matches(std::string_view text) {
    // Equal texts contain each other, unless both are empty.
    if (!fuzzy_) return text == searchText_.view() && !text.empty();
    const std::string_view needle = searchText_.view();
    if (needle.empty()) return !text.empty();
    if (needle.size() > text.size()) return false;
    // Every true match is also a match of the texts with all their bytes folded, so a fast
    // search over those finds the candidates, and only candidates are checked for the
    // character boundary and for case.
    Fold(text, foldedSubject_);
    std::size_t boundary = 0;
    for (std::size_t start = foldedSubject_.find(foldedSearchText_); start != std::string::npos;
         start = foldedSubject_.find(foldedSearchText_, start + 1)) {
        while (boundary < start) boundary += GbkCharacterLength(text, boundary);
        if (boundary == start && MatchesAt(text, start, needle)) return true;
    }
    return false;
}

}  // namespace kestavel
