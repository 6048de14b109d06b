#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/NamePool.h"

namespace kestavel {

// The sub-folders of the workshop folder, in byte order as NTFS lists them, so the same folder
// numbers the same way on every run and file system. Names the catalogue cannot hold as GBK
// are left out and collected, so the user learns which items were not indexed.
class WorkshopListing {
  public:
    std::size_t size() const { return order_.size(); }
    std::string_view name(std::size_t i) const { return listed_[order_[i]]; }
    // The GBK bytes of name(i).
    std::string_view code(std::size_t i) const { return codes_.empty() ? name(i) : codes_[i]; }
    const std::vector<std::string>& unusable() const { return unusable_; }

  private:
    friend WorkshopListing ListWorkshop(const std::string& folder);
    NamePool listed_;                   // as the file system gave them
    std::vector<std::uint32_t> order_;  // the usable names, sorted
    NamePool codes_;                    // by order_; empty while every name is ASCII
    std::vector<std::string> unusable_;
};

WorkshopListing ListWorkshop(const std::string& folder);

// The lines that follow an index summary when some names could not be indexed, else nothing.
std::string UnusableLines(const std::vector<std::string>& unusable);

}  // namespace kestavel
