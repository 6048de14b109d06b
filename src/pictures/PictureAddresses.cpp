#include "pictures/PictureAddresses.h"

#include <unordered_set>

#include "pages/PageDocument.h"
#include "pages/PageMarkers.h"

namespace kestavel {
namespace {

// Scheme with its colon, the empty piece between the two slashes, host, and three path pieces.
constexpr int kAddressPieces = 6;

}  // namespace

std::optional<std::string> CutPictureAddress(std::string_view line, std::string_view marker) {
    const std::size_t position = FindMarker(line, marker);
    if (position == 0) return std::nullopt;
    std::string_view rest = line.substr(position - 1);
    std::string address;
    for (int piece = 1; piece <= kAddressPieces; ++piece) {
        const std::size_t slash = rest.find('/');
        // The last piece needs no slash after it; any earlier one does.
        if (slash == std::string_view::npos && piece < kAddressPieces) return std::nullopt;
        address += rest.substr(0, slash);
        address += '/';
        if (slash == std::string_view::npos) break;
        rest.remove_prefix(slash + 1);
    }
    return address;
}

std::vector<std::string> PictureAddresses(PageDocument& page,
                                          std::span<const std::string_view> markers) {
    // One walk over the lines gathers every marker's addresses; joined marker by marker they
    // stand as one reading of the page per marker would give them.
    std::vector<std::vector<std::string>> found(markers.size());
    page.readToEnd();
    page.rewind();
    std::string_view line;
    while (page.nextLine(line)) {
        for (std::size_t m = 0; m < markers.size(); ++m) {
            if (auto address = CutPictureAddress(line, markers[m])) {
                found[m].push_back(std::move(*address));
            }
        }
    }
    std::vector<std::string> addresses;
    std::unordered_set<std::string> seen;
    for (std::vector<std::string>& pass : found) {
        for (std::string& address : pass) {
            if (seen.insert(address).second) addresses.push_back(std::move(address));
        }
    }
    return addresses;
}

}  // namespace kestavel
