#include "DemoItems.h"

#include <cstdint>
#include <string_view>

#include "WorkshopPictures.h"
#include "WorkshopServer.h"

namespace kestavel::workshop {
namespace {

constexpr int kFirstId = 1;
constexpr int kLastId = 20;
constexpr std::string_view kRemovedId = "3000000017";

struct DemoText {
    const char* title;
    const char* author;
    const char* group;
    std::vector<std::string> tags;
    const char* description;
};

const DemoText& TextFor(int index) {
    static const std::vector<DemoText> texts = {
        {"Road Signs", "Someone", "Mod", {"Road", "Transport"},
         "Adds realistic road signs to every road type.<br>Works with the vanilla roads and "
         "most road packs.<br><br>Compatible with After Dark, Snowfall and Mass Transit."},
        {"中式园林公园", "江南工作室", "Mod", {"Park", "Decoration"},
         "一套中式园林公园资源，包括亭台、假山和荷花池。<br>适用于所有地图。<br><br>"
         "如有问题请在评论区留言。"},
        {"Traffic Flow Improvements", "TrafficTamer", "Mod", {"Traffic", "Road", "Utility"},
         "Improves traffic flow at junctions by giving vehicles better lane choices.<br>"
         "Vehicles now spread over all lanes before a junction instead of queueing in one.<br>"
         "Buses use their own lanes where the road has them, and trams keep to their tracks.<br>"
         "Emergency vehicles get through red lights when the road ahead is clear.<br><br>"
         "Settings are in the options menu under Traffic Flow. Changes take effect at once, "
         "no reload needed.<br><br>Known issues: none so far. Please report problems in the "
         "comments with your list of mods, and say whether the problem shows on a new map."},
        {"Harbour Cranes", "Quay_Master", "Asset", {"Industrial", "Cargo"},
         "Two animated harbour cranes for your cargo docks.<br>Low poly, LODs included."},
        {"Riverside Valley", "SkylineSam", "Map", {"Map", "Medium"},
         "A green valley with a wide river, two highway connections and a railway."},
        {"Metro Overhaul", "MetroMaker", "Mod", {"Metro", "Transport", "Tunnel"},
         "Elevated, ground and sunken metro tracks and stations.<br>Needs Mass Transit."},
        {"Small Town Houses", "ZoningNerd", "Asset", {"Residential", "Growable"},
         "Eight growable low density houses in the style of a small European town."},
        {"Tram Depot XL", "TramLover", "Asset", {"Tram", "Service"},
         "A large tram depot with room for 30 trams.<br>Works with every tram mod."},
        {"高速公路立交桥", "立交桥爱好者", "Asset", {"Road", "Intersection"},
         "四层苜蓿叶式立交桥，适合高速公路连接。<br>无需其他模组。"},
        {"Park Life Paths", "parkplanner", "Mod", {"Park", "Pathway"},
         "Extra pedestrian paths for parks: gravel, wood and stone."},
        {"Roundabout Builder", "RoundaboutFan", "Mod", {"Road", "Tool"},
         "Builds a roundabout of any size in one click.<br>Hold Shift for a two-lane one."},
        {"Grid Planner", "GridOrDie", "Mod", {"Tool", "Zoning"},
         "Draws perfect grids of roads with a chosen block size."},
        {"One-Way Street Pack", "OneWayStreet", "Asset", {"Road"},
         "Twelve one-way roads with parking, bike lanes and trees."},
        {"Highway Ramps", "HighwayHero", "Asset", {"Road", "Highway"},
         "Smooth highway ramps with realistic curves."},
        {"Night Lights", "Cims4Life", "Mod", {"Lighting", "Visual"},
         "Warmer street lights at night and lit windows in every building."},
        {"Bulldoze It!", "bulldozer99", "Mod", {"Tool", "Utility"},
         "Removes abandoned and burned buildings automatically."},
        {"Old Train Station", "DistrictSix", "Asset", {"Train", "Station"},
         "A historic train station with four platforms."},
        {"Coastal Islands", "SkylineSam", "Map", {"Map", "Large"},
         "Five islands joined by bridges; ship and plane connections."},
        {"Solar Farm", "Someone", "Asset", {"Electricity", "Service"},
         "A 40 MW solar farm that fits on a 4 × 4 lot."},
        {"Cargo Hub Fix", "TrafficTamer", "Mod", {"Cargo", "Fix"},
         "Stops cargo trucks from turning around in the cargo hub."},
    };
    return texts[static_cast<std::size_t>(index - kFirstId) % texts.size()];
}

PageLayout LayoutOf(int index) {
    switch (index % 3) {
        case 1:
            return PageLayout::Classic;
        case 2:
            return PageLayout::Current2025;
        default:
            return PageLayout::Current;
    }
}

std::string IdOf(int index) {
    return std::to_string(3000000000LL + index);
}

// Picture folders named like the workshop's cloud storage: ugc/<number>/<40 hex digits>/.
std::string PictureFolder(const std::string& base, const std::string& id, int picture) {
    std::uint64_t hash = 1469598103934665603ULL;
    for (char c : id) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    hash ^= static_cast<std::uint64_t>(picture) * 0x9E3779B97F4A7C15ULL;
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string digits;
    std::uint64_t value = hash;
    for (int i = 0; i < 40; ++i) {
        digits += kHex[value & 15];
        value = (value >> 4) | (value << 60);
        if (i % 16 == 15) value *= 0x9E3779B97F4A7C15ULL;
    }
    const std::string number = std::to_string(900000000000000000ULL + hash % 99999999999999999ULL);
    return base + "/ugc/" + number + "/" + digits + "/";
}

}  // namespace

std::vector<std::string> DemoItemIds() {
    std::vector<std::string> ids;
    for (int index = kFirstId; index <= kLastId; ++index) ids.push_back(IdOf(index));
    return ids;
}

ItemPage DemoItemPage(const std::string& id, const std::string& base) {
    const int index = static_cast<int>(std::stoll(id) - 3000000000LL);
    const DemoText& text = TextFor(index);
    ItemPage page;
    page.id = id;
    page.title = text.title;
    page.author = text.author;
    page.description = text.description;
    page.tagGroup = text.group;
    page.tags = text.tags;
    page.previewBase = PictureFolder(base, id, 0);
    for (int picture = 1; picture <= 1 + index % 3; ++picture) {
        page.pictures.push_back(PictureFolder(base, id, picture));
    }
    page.linkAuthor = index != 4;
    static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const std::string day = std::to_string(1 + index % 28);
    const std::string month = kMonths[index % 12];
    const std::string time = std::to_string(1 + index % 12) + ":" + std::to_string(10 + index) +
                             (index % 2 ? "pm" : "am");
    page.layout = LayoutOf(index);
    if (page.layout == PageLayout::Classic) {
        page.posted = day + " " + month + " @ " + time;
        page.updated = index % 3 == 0 ? std::string() : page.posted;
    } else {
        // Today's pages name the year of a date outside the current year, day or month first.
        const std::string year = std::to_string(2015 + index % 8);
        page.posted = index % 2 ? month + " " + day + ", " + year + " @ " + time
                                : day + " " + month + ", " + year + " @ " + time;
        page.updated = index % 4 == 0 ? std::string()
                       : index % 2    ? month + " " + day + " @ " + time
                                      : day + " " + month + " @ " + time;
        page.moreTagGroups = {TagGroup{"Compatibility", {"Mass Transit", "Industries"}}};
    }
    page.fileSize = std::to_string(index * 37 % 900 + 12) + "." + std::to_string(100 + index) + " KB";
    return page;
}

std::size_t ServeDemoItems(WorkshopServer& server) {
    std::size_t pictures = 0;
    for (const std::string& id : DemoItemIds()) {
        if (id == kRemovedId) {
            const int index = static_cast<int>(std::stoll(id) - 3000000000LL);
            server.setPage(id, BuildRemovedItemPage(id, 40 * 1024, "\r\n", LayoutOf(index)));
            continue;
        }
        const ItemPage page = DemoItemPage(id, server.base());
        server.setPage(id, BuildItemPage(page));
        const auto seed = static_cast<std::uint32_t>(std::stoll(id) * 2654435761ULL);
        auto serve = [&](const std::string& address, std::string bytes) {
            Answer answer;
            answer.body = std::move(bytes);
            answer.contentType = "image/jpeg";
            server.setAnswer(address.substr(server.base().size()), std::move(answer));
            ++pictures;
        };
        serve(page.previewBase + "637x358.resizedimage", MakeJpeg(637, 358, seed));
        serve(page.previewBase + "512x0.resizedimage", MakeJpeg(512, 288, seed));
        serve(page.previewBase, MakeJpeg(800, 450, seed));
        for (std::size_t i = 0; i < page.pictures.size(); ++i) {
            serve(page.pictures[i], MakeJpeg(1280, 720, seed + static_cast<std::uint32_t>(i + 1) * 7919));
        }
    }
    return pictures;
}

}  // namespace kestavel::workshop
