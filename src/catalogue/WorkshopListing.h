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
    // False when the folder could not be listed at all: that is no empty workshop.
    bool readable() const { return readable_; }

  private:
    friend WorkshopListing ListWorkshop(const std::string& folder);

    // Whether the workshop folder can be listed now, asked before a command changes anything.
    bool WorkshopReadable(const std::string& folder);

    // The message for a workshop folder that cannot be listed: the command changes nothing.
    std::string UnreadableWorkshopMessage(const std::string& folder, std::string_view command);
    NamePool listed_;                   // as the file system gave them
    std::vector<std::uint32_t> order_;  // the usable names, sorted
    NamePool codes_;                    // by order_; empty while every name is ASCII
    std::vector<std::string> unusable_;
    bool readable_ = false;
};

WorkshopListing ListWorkshop(const std::string& folder);

// Whether the workshop folder can be listed now, asked before a command changes anything.
bool WorkshopReadable(const std::string& folder);

// The message for a workshop folder that cannot be listed: the command changes nothing.
std::string UnreadableWorkshopMessage(const std::string& folder, std::string_view command);

// The lines that follow an index summary when some names could not be indexed, else nothing.
std::string UnusableLines(const std::vector<std::string>& unusable);

}  // namespace kestavel
