#pragma once

// The saved pages the category benchmarks read: workshop pages of about 150 KB each in today's
// layouts, with today's date forms and tag groups, written into item folders.
#include <cstddef>
#include <string>
#include <vector>

#include "WorkshopPage.h"
#include "catalogue/ItemFolder.h"
#include "pages/PageDocument.h"
#include "platform/FileSystem.h"

namespace kestavel::bench {

struct SavedPages {
    std::vector<std::string> codes;
    std::vector<std::string> paths;
    std::size_t bytes = 0;
};

// Today's date forms, day or month first, with a year or without.
inline std::string TodaysDateText(int n, int salt) {
    static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const std::string day = std::to_string(1 + (n + salt) % 28);
    const std::string month = kMonths[(n * 7 + salt) % 12];
    const std::string time =
        std::to_string(1 + n % 12) + ":" + std::to_string(10 + n % 50) + (n % 2 ? "pm" : "am");
    const std::string year = std::to_string(2015 + (n + salt) % 9);
    switch ((n + salt) % 4) {
        case 0:
            return day + " " + month + " @ " + time;
        case 1:
            return day + " " + month + ", " + year + " @ " + time;
        case 2:
            return month + " " + day + " @ " + time;
        default:
            return month + " " + day + ", " + year + " @ " + time;
    }
}

// Items 3000000001 onwards, one folder and saved page each.
inline SavedPages WriteTodaysPages(const std::string& workshop, int count) {
    SavedPages pages;
    for (int n = 1; n <= count; ++n) {
        const std::string code = std::to_string(3000000000LL + n);
        workshop::ItemPage item;
        item.id = code;
        item.layout = n % 2 ? workshop::PageLayout::Current : workshop::PageLayout::Current2025;
        item.title = "Road Signs " + code;
        item.author = "Someone" + std::to_string(n % 97);
        item.tagGroup = n % 3 ? "Mod" : "Asset";
        item.tags = {"Road", "Transport"};
        if (n % 4 != 0) item.moreTagGroups = {{"Compatibility", {"Mass Transit", "Industries"}}};
        item.posted = TodaysDateText(n, 0);
        item.updated = n % 5 == 0 ? std::string() : TodaysDateText(n, 3);
        item.live = n % 50 != 0;
        item.previewBase = "https://images.steamusercontent.com/ugc/9431752412382" +
                           std::to_string(n) + "/39F914077B539C7BF0B4B2C09CF0BA73B3C6E3B1/";
        item.pictures = {item.previewBase};
        const std::string page = workshop::BuildItemPage(item);
        CreateDirectory(JoinPath(workshop, code));
        pages.codes.push_back(code);
        pages.paths.push_back(ItemFolder(workshop, GbkText::fromAscii(code)).page());
        WriteWholeFile(pages.paths.back(), page);
        pages.bytes += page.size();
    }
    return pages;
}

}  // namespace kestavel::bench
