#include "find/CellMatch.h"

#include <string_view>

#include "find/GbkCharacters.h"

namespace kestavel {
namespace {

char FoldAsciiCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
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

bool ContainsFolded(std::string_view subject, std::string_view needle) {
    if (needle.empty()) return !subject.empty();
    if (needle.size() > subject.size()) return false;
    const std::size_t lastStart = subject.size() - needle.size();
    const char first = FoldAsciiCase(needle.front());
    for (std::size_t start = 0; start <= lastStart; start += GbkCharacterLength(subject, start)) {
        if (FoldAsciiCase(subject[start]) == first && MatchesAt(subject, start, needle)) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool CellMatch(const GbkText& subject, const GbkText& searchText, bool fuzzy) {
    if (!fuzzy && subject != searchText) return false;
    return ContainsFolded(subject.view(), searchText.view());
}

}  // namespace kestavel
