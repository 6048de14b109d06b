#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kestavel {

class PageDocument;

// Where the full-size pictures of a workshop page live: the cloud content host (its addresses
// begin with this), the image host of 2015, and today's image host. Letters are matched without
// regard to case.
inline constexpr std::string_view kCloudAddressPrefix = "https://cloud";
inline constexpr std::string_view kImageHostBase = "https://steamuserimages-a.akamaihd.net/";
inline constexpr std::string_view kCurrentImageHostBase = "https://images.steamusercontent.com/";
// One reading of the page per marker, in this order; it fixes the pictures' numbers.
inline constexpr std::array<std::string_view, 3> kPictureAddressMarkers = {
    kCloudAddressPrefix, kImageHostBase, kCurrentImageHostBase};

// The address a line gives for a marker: the rest of the line from the marker's first
// occurrence, cut at every "/", its first six pieces joined again by "/" with one "/" after
// them. Nothing when the line lacks the marker or the rest has fewer than six pieces.
std::optional<std::string> CutPictureAddress(std::string_view line, std::string_view marker);

// The picture addresses of a saved page: every line's address for the first marker in line
// order, then for the second, and so on; an address already found (same letters, same case) is
// not taken again.
std::vector<std::string> PictureAddresses(PageDocument& page,
                                          std::span<const std::string_view> markers);

}  // namespace kestavel
