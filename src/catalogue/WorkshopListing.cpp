#include "catalogue/WorkshopListing.h"

#include <cstdint>
#include <string_view>

#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/GbkText.h"

namespace kestavel {

WorkshopListing ListWorkshop(const std::string& folder) {
    WorkshopListing listing;
    // Room for a large workshop up front: memory reserved but never written costs nothing, and
    // growing would copy the names again and again.
    listing.listed_.reserve(1 << 16, 1 << 20);
    listing.readable_ = ForEachDirectoryEntry(
        folder, ListFilter::DirectoriesOnly, "*",
        [&listing](std::string_view name) { listing.listed_.push_back(name); });
    std::vector<std::uint32_t> order = BytewiseOrder(listing.listed_);
    // ASCII names are their own GBK form.
    if (listing.listed_.isAscii()) {
        listing.order_ = std::move(order);
        return listing;
    }
    listing.order_.reserve(order.size());
    listing.codes_.reserve(order.size(), listing.listed_.byteCount());
    GbkText gbk;
    for (const std::uint32_t i : order) {
        const std::string_view name = listing.listed_[i];
        if (TryUtf8ToGbk(name, gbk) && !gbk.empty()) {
            listing.order_.push_back(i);
            listing.codes_.push_back(gbk.view());
        } else {
            listing.unusable_.emplace_back(name);
        }
    }
    return listing;
}

bool WorkshopReadable(const std::string& folder) {
    return CanListDirectory(folder);
}

std::string UnreadableWorkshopMessage(const std::string& folder, std::string_view command) {
    return "创意工坊MOD文件位置无法读取，" + std::string(command) + "未进行，目录保持不变。\r\n" +
           folder;
}

std::string UnusableLines(const std::vector<std::string>& unusable) {
    if (unusable.empty()) return {};
    std::string lines = "\r\n以下目录名无法转为GBK编码，未索引：";
    for (const std::string& name : unusable) {
        // Shown with replacement marks where the bytes are not valid text.
        lines += "\r\n" + (IsValidUtf8(name) ? name : GbkToUtf8(GbkText::fromBytes(name)));
    }
    return lines;
}

}  // namespace kestavel
