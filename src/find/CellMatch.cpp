#include "find/CellMatch.h"

#include <string_view>

#include "find/GbkCharacters.h"
#include "platform/FoldedSearch.h"

namespace kestavel {
namespace {

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
            if (FoldAscii(static_cast<unsigned char>(subject[at])) !=
                FoldAscii(static_cast<unsigned char>(needle[i]))) {
                return false;
            }
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
    : searchText_(searchText), fuzzy_(fuzzy) {}

bool CellMatcher::matches(std::string_view text) {
    // Equal texts contain each other, unless both are empty.
    if (!fuzzy_) return text == searchText_.view() && !text.empty();
    const std::string_view needle = searchText_.view();
    if (needle.empty()) return !text.empty();
    if (needle.size() > text.size()) return false;
    // Every true match is also a match with all bytes case folded, so a fast folded search finds
    // the candidates, and only candidates are checked for the character boundary and for the
    // bytes of double-byte characters.
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    std::size_t boundary = 0;
    for (const char* at = FindFolded(begin, end, needle); at != nullptr;
         at = FindFolded(at + 1, end, needle)) {
        const auto start = static_cast<std::size_t>(at - begin);
        while (boundary < start) boundary += GbkCharacterLength(text, boundary);
        if (boundary == start && MatchesAt(text, start, needle)) return true;
    }
    return false;
}

}  // namespace kestavel
