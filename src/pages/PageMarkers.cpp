#include "pages/PageMarkers.h"

#include <algorithm>

#include "platform/FoldedSearch.h"

namespace kestavel {

bool EqualsFolded(std::string_view text, std::string_view marker) {
    if (text.size() != marker.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (FoldAscii(static_cast<unsigned char>(text[i])) !=
            FoldAscii(static_cast<unsigned char>(marker[i]))) {
            return false;
        }
    }
    return true;
}

std::size_t FindMarker(std::string_view line, std::string_view marker) {
    const char* hit = FindFolded(line.data(), line.data() + line.size(), marker);
    return hit ? static_cast<std::size_t>(hit - line.data()) + 1 : 0;
}

std::size_t FindLastMarker(std::string_view line, std::string_view marker) {
    if (marker.empty() || marker.size() > line.size()) return 0;
    for (std::size_t at = line.size() - marker.size() + 1; at > 0; --at) {
        if (EqualsFolded(line.substr(at - 1, marker.size()), marker)) return at;
    }
    return 0;
}

bool OpensWithMarker(std::string_view line, std::string_view marker) {
    return line.size() >= marker.size() && EqualsFolded(line.substr(0, marker.size()), marker);
}

std::string_view Piece(std::string_view line, std::int64_t start, std::int64_t count) {
    const auto length = static_cast<std::int64_t>(line.size());
    if (start < 1 || start > length || count <= 0) return {};
    const std::int64_t available = length - start + 1;
    return line.substr(static_cast<std::size_t>(start - 1),
                       static_cast<std::size_t>(std::min(count, available)));
}

}  // namespace kestavel
