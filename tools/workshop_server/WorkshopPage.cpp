#include "WorkshopPage.h"

#include <cstdint>
#include <cstdio>
#include <string_view>
#include <utility>

namespace kestavel::workshop {
namespace {

// A small deterministic generator, so a page is the same bytes on every run.
class Random {
  public:
    explicit Random(std::string_view seed) {
        for (char c : seed) state_ = (state_ ^ static_cast<unsigned char>(c)) * 0x100000001B3ULL;
    }
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    std::size_t below(std::size_t bound) { return static_cast<std::size_t>(next() % bound); }
    std::string hex(std::size_t digits, bool upper = false) {
        static constexpr char kLower[] = "0123456789abcdef";
        static constexpr char kUpper[] = "0123456789ABCDEF";
        std::string text;
        for (std::size_t i = 0; i < digits; ++i) text += (upper ? kUpper : kLower)[below(16)];
        return text;
    }
    std::string digits(std::size_t count) {
        std::string text(1, static_cast<char>('1' + below(9)));
        for (std::size_t i = 1; i < count; ++i) text += static_cast<char>('0' + below(10));
        return text;
    }

  private:
    std::uint64_t state_ = 0xCBF29CE484222325ULL;
};

constexpr std::string_view kStatic = "https://community.cloudflare.steamstatic.com";
constexpr std::string_view kCommunity = "https://steamcommunity.com";
constexpr std::string_view kStore = "https://store.steampowered.com";

constexpr std::string_view kPlayerNames[] = {
    "CityBuilder42", "TrafficTamer", "ZoningNerd",  "MetroMaker",   "parkplanner",
    "Cims4Life",     "RoundaboutFan", "GridOrDie",  "OneWayStreet", "HighwayHero",
    "SkylineSam",    "TramLover",    "Quay_Master", "bulldozer99",  "DistrictSix"};

constexpr std::string_view kCommentTexts[] = {
    "Works great with the new roads, thank you!",
    "Is this compatible with Traffic Manager: President Edition?",
    "Crashes on load for me since the last patch. Anyone else?",
    "Love it. The signs finally look like the ones in my country.",
    "Please add a version for the highway ramps, that would be perfect.",
    "Thanks for keeping this updated after all these years!",
    "Does not show up in the asset editor, did I miss something?",
    "Subscribed, rated and favourited. Great work as always.",
    "Could you make the colours a bit darker? They look washed out at night.",
    "After the update my city loads again, thank you so much."};

class PageWriter {
  public:
    explicit PageWriter(std::string lineEnd) : lineEnd_(std::move(lineEnd)) {}
    void line(std::string_view text) {
        page_ += text;
        page_ += lineEnd_;
    }
    std::size_t size() const { return page_.size(); }
    std::string take() { return std::move(page_); }

  private:
    std::string lineEnd_;
    std::string page_;
};

std::string Slug(const std::string& name, Random& random) {
    std::string slug;
    for (char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if ((u >= 'a' && u <= 'z') || (u >= '0' && u <= '9')) slug += c;
        if (u >= 'A' && u <= 'Z') slug += static_cast<char>(u + 32);
    }
    if (slug.empty()) return "profiles/7656119" + random.digits(10);
    return "id/" + slug;
}

void Head(PageWriter& out, Random& random, std::string_view titleLine, const std::string& imageLink,
          bool live, const std::string& ogTitle, PageLayout layout) {
    out.line("<!DOCTYPE html>");
    out.line("<html class=\" responsive\" lang=\"en\">");
    out.line("<head>");
    out.line("\t\t<meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">");
    out.line("\t\t\t<meta name=\"viewport\" content=\"width=device-width,initial-scale=1\">");
    out.line("\t\t<meta name=\"theme-color\" content=\"#171a21\">");
    out.line(titleLine);
    out.line("\t<link rel=\"shortcut icon\" href=\"/favicon.ico\" type=\"image/x-icon\">");
    static constexpr std::string_view kSheets[] = {
        "shared/css/motiva_sans.css", "shared/css/shared_global.css", "css/globalv2.css",
        "css/skin_1/modalContent.css", "css/skin_1/profilev2.css", "css/skin_1/workshop.css",
        "css/skin_1/workshop_itemdetails.css", "css/skin_1/header.css",
        "shared/css/shared_responsive.css", "css/skin_1/fatalerror.css"};
    for (std::string_view sheet : kSheets) {
        out.line("\t\t\t<link href=\"" + std::string(kStatic) + "/public/" + std::string(sheet) +
                 "?v=" + random.hex(12) + "&amp;l=english\" rel=\"stylesheet\" type=\"text/css\" >");
    }
    static constexpr std::string_view kScripts[] = {
        "javascript/prototype-1.7.js", "javascript/scriptaculous/_combined.js",
        "javascript/global.js", "javascript/jquery-1.11.1.min.js", "shared/javascript/tooltip.js",
        "shared/javascript/shared_global.js", "shared/javascript/auth_refresh.js",
        "javascript/webui/clientcom.js", "javascript/workshop_functions.js",
        "javascript/sharedfiles_functions_logged_out.js", "javascript/dselect.js",
        "javascript/modalv2.js", "javascript/modalContent.js",
        "javascript/reportedcontent.js", "javascript/applications/community/manifest.js"};
    for (std::string_view script : kScripts) {
        out.line("\t\t\t<script type=\"text/javascript\" src=\"" + std::string(kStatic) +
                 "/public/" + std::string(script) + "?v=" + random.hex(12) +
                 "&amp;l=english\" ></script>");
    }
    out.line("\t<meta name=\"twitter:card\" content=\"summary_large_image\">");
    out.line("\t<meta name=\"twitter:site\" content=\"@steam\" />");
    out.line("\t<meta property=\"og:title\" content=\"" + ogTitle + "\">");
    out.line("\t<meta property=\"twitter:title\" content=\"" + ogTitle + "\">");
    out.line("\t<meta property=\"og:type\" content=\"website\">");
    out.line("\t<meta property=\"fb:app_id\" content=\"105386699540688\">");
    if (!imageLink.empty()) {
        out.line(imageLink);
    }
    out.line("\t<script type=\"text/javascript\">");
    out.line("\t\tvar __PrototypePreserve=[];");
    out.line("\t\t__PrototypePreserve[0] = Array.from;");
    out.line("\t\t__PrototypePreserve[1] = Array.prototype.filter;");
    out.line("\t\t__PrototypePreserve[2] = Function.prototype.bind;");
    out.line("\t</script>");
    out.line("\t<script type=\"text/javascript\">");
    out.line("\t\tVALVE_PUBLIC_PATH = \"" + std::string(kStatic) + "\\/public\\/\";");
    if (live) {
        const std::string session = random.hex(24);
        out.line(layout == PageLayout::Classic ? "\t\tvar session_id = \"" + session + "\";"
                                               : "\t\tvar SESSION_ID = '" + session + "';");
    }
    out.line("\t\tvar g_steamID = false;");
    out.line("\t\tvar g_strLanguage = \"english\";");
    out.line("\t\tvar g_SNR = '2_100100_100101_';");
    out.line("\t\tvar g_bAllowAppImpressions = true;");
    out.line("\t\tvar g_bLoggedIn = false;");
    out.line("\t\tvar g_CommunityPreferences = {\"hide_adult_content_violence\":1,"
             "\"hide_adult_content_sex\":1,\"parenthesize_nicknames\":0,"
             "\"text_filter_setting\":1,\"text_filter_ignore_friends\":1,"
             "\"text_filter_words_revision\":0,\"timestamp_updated\":0};");
    out.line("\t</script>");
    // The page configuration Steam sends as one long attribute line.
    std::string config = "\t<div id=\"application_config\" style=\"display: none;\" "
                         "data-config=\"{&quot;EUNIVERSE&quot;:1,&quot;WEB_UNIVERSE&quot;:"
                         "&quot;public&quot;,&quot;LANGUAGE&quot;:&quot;english&quot;";
    static constexpr std::string_view kConfigKeys[] = {
        "COUNTRY", "PLATFORM", "BASE_URL_STORE_CDN_ASSETS", "MEDIA_CDN_COMMUNITY_URL",
        "COMMUNITY_CDN_URL", "COMMUNITY_CDN_ASSET_URL", "STORE_CDN_URL", "PUBLIC_SHARED_URL",
        "COMMUNITY_BASE_URL", "CHAT_BASE_URL", "STORE_BASE_URL", "LOGIN_BASE_URL",
        "SUPPORT_BASE_URL", "STORE_ICON_BASE_URL", "IMG_URL", "STEAMTV_BASE_URL",
        "HELP_BASE_URL", "PARTNER_BASE_URL", "STATS_BASE_URL", "INTERNAL_STATS_BASE_URL",
        "IN_CLIENT", "USE_POPUPS", "STORE_ICON_BASE_URL", "WEBAPI_BASE_URL", "TOKEN_URL",
        "BUILD_TIMESTAMP", "PAGE_TIMESTAMP", "IN_TENFOOT", "IN_GAMEPADUI", "PLATFORM",
        "SNR", "LAUNCHER_TYPE", "IN_LOGIN", "IN_LOGIN_REFRESH"};
    for (std::string_view key : kConfigKeys) {
        config += ",&quot;" + std::string(key) + "&quot;:&quot;" + std::string(kCommunity) +
                  "\\/" + random.hex(8) + "\\/&quot;";
    }
    config += "}\" data-loyalty_webapi_token=\"&quot;&quot;\"></div>";
    out.line(config);
    // Localisation strings, another block of long script lines.
    out.line("\t<script type=\"text/javascript\">");
    for (int i = 0; i < 40; ++i) {
        out.line("\t\tLocalizationManifest['shared_" + std::to_string(i) + "'] = {\"language\":"
                 "\"english\",\"Button_Cancel\":\"Cancel\",\"Button_OK\":\"OK\",\"Button_Close\":"
                 "\"Close\",\"Loading\":\"Loading\",\"Hash\":\"" +
                 random.hex(32) + "\"};");
    }
    out.line("\t</script>");
    out.line("</head>");
}

void GlobalHeader(PageWriter& out, Random& random, std::size_t untilBytes) {
    out.line("<body class=\"flat_page responsive_page\">");
    out.line("<div class=\"responsive_page_frame with_header\">");
    out.line("\t<div role=\"navigation\" class=\"responsive_page_menu_ctn mainmenu\" "
             "aria-label=\"Mobile Menu\">");
    out.line("\t\t<div class=\"responsive_page_menu\"  id=\"responsive_page_menu\">");
    static constexpr std::string_view kMenus[] = {"STORE", "COMMUNITY", "ABOUT", "SUPPORT"};
    static constexpr std::string_view kItems[] = {
        "Home", "Discovery Queue", "Wishlist", "Points Shop", "News", "Stats", "Discussions",
        "Workshop", "Market", "Broadcasts", "Install Steam", "Change language"};
    // The menus are repeated for the page's several layouts (desktop, mobile, tenfoot); a real
    // page spends a good part of its length on them before the item itself begins.
    for (int round = 0; round == 0 || out.size() < untilBytes; ++round) {
        for (std::string_view menu : kMenus) {
            out.line("\t\t\t<a class=\"menuitem supernav\" href=\"" + std::string(kStore) +
                     "/?snr=1_4_4__global-responsive-menu\" data-tooltip-type=\"selector\" "
                     "data-tooltip-content=\".submenu_" +
                     std::string(menu) + "\">" + std::string(menu) + "</a>");
            out.line("\t\t\t<div class=\"submenu_" + std::string(menu) +
                     "\" style=\"display: none;\" data-submenuid=\"" + std::string(menu) + "\">");
            for (std::string_view item : kItems) {
                out.line("\t\t\t\t<a class=\"submenuitem\" href=\"" + std::string(kCommunity) +
                         "/" + random.hex(6) + "/\">" + std::string(item) + "</a>");
            }
            out.line("\t\t\t</div>");
        }
    }
    out.line("\t\t</div>");
    out.line("\t</div>");
    out.line("\t<div class=\"responsive_local_menu_tab\"></div>");
    out.line("\t<div class=\"responsive_page_template_content\" id=\"responsive_page_template_"
             "content\" data-panel=\"{&quot;autoFocus&quot;:true}\" >");
}

void Breadcrumbs(PageWriter& out, const ItemPage& page, const std::string& profile) {
    out.line("\t<div class=\"apphub_HomeHeaderContent\">");
    out.line("\t\t<div class=\"apphub_HeaderTop workshop\">");
    out.line("\t\t\t<div class=\"apphub_AppName ellipsis\">Cities: Skylines</div>");
    out.line("\t\t\t<div style=\"clear: both\"></div>");
    out.line("\t\t</div>");
    out.line("\t</div>");
    out.line("\t<div class=\"breadcrumbs\">");
    // Today's pages put the separator before the author's link, on its line.
    out.line("\t\t<a href=\"" + std::string(kCommunity) +
             "/app/255710\">Cities: Skylines</a>&nbsp;&gt;&nbsp;<a href=\"" +
             std::string(kCommunity) + "/app/255710/workshop/\">Workshop</a>" +
             (page.layout == PageLayout::Classic ? "&nbsp;&gt;&nbsp;" : ""));
    if (!page.linkAuthor) {
        out.line("\t</div>");
        return;
    }
    const std::string files =
        std::string(kCommunity) + "/" + profile + "/myworkshopfiles/?appid=255710";
    switch (page.layout) {
        case PageLayout::Classic:
            // The author's name runs from "appid=255710\">" to the last 16 bytes of the line.
            out.line("\t\t<div class=\"linkAuthor\"><a href=\"" + files + "\">" + page.author +
                     "</a></div></div>");
            return;
        case PageLayout::Current:
            out.line("\t\t&gt;&nbsp;<a href=\"" + files + "\">" + page.author + "'s Workshop</a>");
            break;
        case PageLayout::Current2025:
            out.line(
                "<span class=\"breadcrumb_separator\">&gt;&nbsp;</span><a data-panel=\""
                "{&quot;focusable&quot;:true,&quot;clickOnActivate&quot;:true}\" href=\"" +
                files + "\">" + page.author + "'s Workshop</a>");
            break;
    }
    out.line("\t</div>");
}

void PictureStrip(PageWriter& out, const ItemPage& page, Random& random) {
    out.line("\t<div class=\"workshopItemDetailsHeader\">");
    out.line("\t\t<div class=\"workshopItemTitle\">" + page.title + "</div>");
    out.line("\t</div>");
    out.line("\t<div class=\"highlight_ctn\">");
    out.line("\t\t<div id=\"highlight_player_area\">");
    for (std::size_t i = 0; i < page.pictures.size(); ++i) {
        const std::string& picture = page.pictures[i];
        out.line("\t\t\t<div class=\"highlight_player_item highlight_screenshot\" "
                 "id=\"highlight_screenshot_" + std::to_string(i) + "\"" +
                 (i == 0 ? "" : " style=\"display: none;\"") + ">");
        out.line("\t\t\t\t<div class=\"screenshot_holder\">");
        out.line("\t\t\t\t\t<a class=\"highlight_screenshot_link\" onclick=\""
                 "ShowEnlargedImagePreview( '" + picture + "' );\">");
        out.line("\t\t\t\t\t\t<img id=\"previewImage\" class=\"workshopItemPreviewImageEnlargeable\""
                 " src=\"" + picture +
                 "?imw=637&imh=358&ima=fit&impolicy=Letterbox&imcolor=%23000000&letterbox=true\"/>");
        out.line("\t\t\t\t\t</a>");
        out.line("\t\t\t\t</div>");
        out.line("\t\t\t</div>");
    }
    out.line("\t\t</div>");
    out.line("\t\t<div class=\"highlight_strip\">");
    out.line("\t\t\t<div id=\"highlight_strip_scroll\" style=\"width: " +
             std::to_string(120 * page.pictures.size()) + "px;\">");
    for (std::size_t i = 0; i < page.pictures.size(); ++i) {
        out.line("\t\t\t\t<div class=\"highlight_strip_item highlight_strip_screenshot\" "
                 "id=\"thumb_screenshot_" + std::to_string(i) + "\" >");
        out.line("\t\t\t\t\t<img src=\"" + page.pictures[i] +
                 "?imw=116&imh=65&ima=fit&impolicy=Letterbox&imcolor=%23000000&letterbox=true\">");
        out.line("\t\t\t\t</div>");
    }
    out.line("\t\t\t</div>");
    out.line("\t\t</div>");
    out.line("\t</div>");
    out.line("\t<div class=\"game_area_purchase_game\">");
    out.line("\t\t<div class=\"subscribeControls\">");
    out.line("\t\t\t<a onclick=\"SubscribeItem( '" + page.id + "', '255710' );\" id=\"SubscribeItemBtn\" "
             "class=\"btn_green_white_innerfade btn_border_2px btn_medium\">");
    out.line("\t\t\t\t<div class=\"subscribeIcon\"></div>");
    out.line("\t\t\t\t<span class=\"subscribeText\">");
    out.line("\t\t\t\t\t<div class=\"subscribeOption subscribe selected\" id=\"SubscribeItemOptionAdd\">Subscribe</div>");
    out.line("\t\t\t\t</span>");
    out.line("\t\t\t</a>");
    out.line("\t\t</div>");
    out.line("\t\t<div class=\"fileRatingDetails\"><img src=\"" + std::string(kStatic) +
             "/public/images/sharedfiles/" + std::to_string(3 + random.below(3)) +
             "-star_large.png?v=2\"></div>");
    out.line("\t\t<div class=\"numRatings\">" + std::to_string(100 + random.below(90000)) +
             " ratings</div>");
    out.line("\t</div>");
}

void Description(PageWriter& out, const ItemPage& page) {
    out.line("\t\t<div class=\"detailBox altFooter\">");
    out.line("\t\t\t<div class=\"workshopItemDescriptionTitle\">Description</div>");
    out.line("\t\t\t<div class=\"workshopItemDescription\" id=\"highlightContent\">" +
             page.description + "</div>");
    out.line("\t\t</div>");
    out.line("\t\t<div class=\"detailBox\">");
    out.line("\t\t\t<div class=\"workshopItemControlsCtn\">");
    out.line("\t\t\t\t<a class=\"general_btn share tooltip\" onclick=\"ShowSharePublishedFilePopup( '" +
             page.id + "', '255710' );\"><span>Share</span></a>");
    out.line("\t\t\t\t<a class=\"general_btn report tooltip\" href=\"javascript:ReportItem();\">"
             "<span>Report</span></a>");
    out.line("\t\t\t</div>");
    out.line("\t\t</div>");
}

// A tag group's title and its links, as every layout writes them.
std::string TagGroupBody(const TagGroup& group) {
    std::string body = "<span class=\"workshopTagsTitle\">" + group.title + ":&nbsp;</span>";
    for (std::size_t i = 0; i < group.tags.size(); ++i) {
        if (i > 0) body += ", ";
        body += "<a href=\"" + std::string(kCommunity) +
                "/workshop/browse/?appid=255710&browsesort=trend&section=readytouseitems&"
                "requiredtags%5B%5D=" +
                group.tags[i] + "\">" + group.tags[i] + "</a>";
    }
    return body;
}

void RightColumn(PageWriter& out, const ItemPage& page, const std::string& profile,
                 Random& random) {
    out.line("\t\t<div class=\"rightDetailsBlock\">");
    if (!page.tags.empty() || !page.tagGroup.empty()) {
        std::vector<TagGroup> groups = {TagGroup{page.tagGroup, page.tags}};
        groups.insert(groups.end(), page.moreTagGroups.begin(), page.moreTagGroups.end());
        if (page.layout == PageLayout::Classic) {
            for (const TagGroup& group : groups) {
                out.line("\t\t\t<div class=\"workshopTags\">" + TagGroupBody(group) + "</div>");
            }
        } else {
            std::string line = "\t\t\t";
            for (const TagGroup& group : groups) {
                line +=
                    "<div data-panel=\"{&quot;type&quot;:&quot;PanelGroup&quot;}\" "
                    "class=\"workshopTags\">" +
                    TagGroupBody(group) + "</div>";
            }
            out.line(line);
        }
    }
    out.line("\t\t</div>");
    out.line("\t\t<div class=\"rightDetailsBlock\">");
    out.line("\t\t\t<div class=\"detailsStatsContainerLeft\">");
    out.line("\t\t\t\t<div class=\"detailsStatLeft\">File Size </div>");
    out.line("\t\t\t\t<div class=\"detailsStatLeft\">Posted </div>");
    if (!page.updated.empty()) out.line("\t\t\t\t<div class=\"detailsStatLeft\">Updated </div>");
    out.line("\t\t\t</div>");
    out.line("\t\t\t<div class=\"detailsStatsContainerRight\">");
    out.line("\t\t\t\t<div class=\"detailsStatRight\">" + page.fileSize + "</div>");
    out.line("\t\t\t\t<div class=\"detailsStatRight\">" + page.posted + "</div>");
    if (!page.updated.empty()) {
        out.line("\t\t\t\t<div class=\"detailsStatRight\">" + page.updated + "</div>");
    }
    out.line("\t\t\t</div>");
    out.line("\t\t\t<div style=\"clear:both\"></div>");
    out.line("\t\t</div>");
    out.line("\t\t<div class=\"rightDetailsBlock\">");
    out.line("\t\t\t<div class=\"change_note_link\"><a href=\"" + std::string(kCommunity) +
             "/sharedfiles/filedetails/changelog/" + page.id + "\">" +
             std::to_string(1 + random.below(40)) + " Change Notes</a></div>");
    out.line("\t\t</div>");
    if (page.creatorBlock) {
        const std::string miniprofile = random.digits(9);
        out.line("\t\t<div class=\"creatorsBlock\">");
        out.line("\t\t\t<div class=\"friendBlock persona offline\" data-miniprofile=\"" +
                 miniprofile + "\" >");
        out.line("\t\t\t\t<a href=\"" + std::string(kCommunity) + "/" + profile +
                 "\" class=\"friendBlockLinkOverlay\"></a>");
        out.line("\t\t\t\t<div class=\"playerAvatar offline\">");
        out.line("\t\t\t\t\t<img src=\"https://avatars.akamai.steamstatic.com/" + random.hex(40) +
                 "_medium.jpg\">");
        out.line("\t\t\t\t</div>");
        out.line("\t\t\t\t<div class=\"friendBlockContent\">");
        // The whole next line is the author's name and a 4-byte tag, indented today.
        std::size_t tabs = 0;
        if (page.layout == PageLayout::Current) tabs = 4;
        if (page.layout == PageLayout::Current2025) tabs = 13;
        out.line(std::string(tabs, '\t') + page.author + "<br>");
        out.line("\t\t\t\t\t<span class=\"friendSmallText\">Offline</span>");
        out.line("\t\t\t\t</div>");
        out.line("\t\t\t</div>");
        out.line("\t\t</div>");
    }
    out.line("\t\t<div class=\"stats_table_ctn\">");
    out.line("\t\t\t<table class=\"stats_table\">");
    out.line("\t\t\t\t<tr><td>" + std::to_string(1000 + random.below(900000)) +
             "</td><td>Unique Visitors</td></tr>");
    out.line("\t\t\t\t<tr><td>" + std::to_string(1000 + random.below(900000)) +
             "</td><td>Current Subscribers</td></tr>");
    out.line("\t\t\t\t<tr><td>" + std::to_string(100 + random.below(90000)) +
             "</td><td>Current Favorites</td></tr>");
    out.line("\t\t\t</table>");
    out.line("\t\t</div>");
}

void Comment(PageWriter& out, Random& random) {
    const std::string commentId = random.digits(19);
    const std::string name(kPlayerNames[random.below(std::size(kPlayerNames))]);
    std::string profile;
    for (char c : name) {
        if (c != '_') profile += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    }
    const std::string miniprofile = random.digits(9);
    static constexpr std::string_view kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const std::string when = std::to_string(1 + random.below(28)) + " " +
                             std::string(kMonths[random.below(12)]) + ", " +
                             std::to_string(2015 + random.below(9)) + " @ " +
                             std::to_string(1 + random.below(12)) + ":" +
                             std::to_string(10 + random.below(50)) +
                             (random.below(2) ? "am" : "pm");
    out.line("\t<div class=\"commentthread_comment responsive_body_text   \" id=\"comment_" +
             commentId + "\" style=\"\">");
    out.line("\t\t<div class=\"commentthread_comment_avatar playerAvatar offline\">");
    out.line("\t\t\t<a href=\"" + std::string(kCommunity) + "/id/" + profile +
             "\" data-miniprofile=\"" + miniprofile + "\">");
    const std::string avatar = random.hex(40);
    out.line("\t\t\t\t<img src=\"https://avatars.akamai.steamstatic.com/" + avatar +
             ".jpg\" srcset=\"https://avatars.akamai.steamstatic.com/" + avatar +
             ".jpg 1x, https://avatars.akamai.steamstatic.com/" + avatar + "_medium.jpg 2x\">");
    out.line("\t\t\t</a>");
    out.line("\t\t</div>");
    out.line("\t\t<div class=\"commentthread_comment_content\">");
    out.line("\t\t\t<div class=\"commentthread_comment_author\">");
    out.line("\t\t\t\t<a class=\"hoverunderline commentthread_author_link\" href=\"" +
             std::string(kCommunity) + "/id/" + profile + "\" data-miniprofile=\"" + miniprofile +
             "\">");
    out.line("\t\t\t\t\t<bdi>" + name + "</bdi></a>");
    out.line("\t\t\t\t<span class=\"commentthread_comment_timestamp\" title=\"" + when +
             "\" data-timestamp=\"" + random.digits(10) + "\">");
    out.line("\t\t\t\t\t" + when + "\t\t\t\t</span>");
    out.line("\t\t\t\t<div class=\"commentthread_comment_actions\" >");
    out.line("\t\t\t\t\t<a class=\"actionlink\" href=\"javascript:CCommentThread.ReportComment("
             "'PublishedFile_Public', '" + commentId + "');\">Report</a>");
    out.line("\t\t\t\t</div>");
    out.line("\t\t\t</div>");
    out.line("\t\t\t<div class=\"commentthread_comment_text\" id=\"comment_content_" + commentId +
             "\">");
    out.line("\t\t\t\t" + std::string(kCommentTexts[random.below(std::size(kCommentTexts))]) +
             "\t\t\t</div>");
    out.line("\t\t</div>");
    out.line("\t</div>");
}

void Footer(PageWriter& out, Random& random, std::size_t targetBytes) {
    out.line("\t<div id=\"footer_spacer\" class=\"\"></div>");
    out.line("\t<div id=\"footer\" class=\"\">");
    out.line("\t\t<div class=\"footer_content\">");
    out.line("\t\t\t<div id=\"footer_logo\"><img src=\"" + std::string(kStatic) +
             "/public/images/skin_1/footerLogo_valve_new.png\" alt=\"Valve Software\"></div>");
    out.line("\t\t\t<div id=\"footer_text\">&copy; Valve Corporation. All rights reserved. "
             "All trademarks are property of their respective owners in the US and other "
             "countries.<br>Some geospatial data on this website is provided by "
             "<a href=\"https://steamcommunity.com/linkfilter/?url=http://www.geonames.org\" "
             "target=\"_blank\" rel=\" noopener\">geonames.org</a>.</div>");
    out.line("\t\t</div>");
    out.line("\t</div>");
    // The closing scripts: the page's message strings and tracking set-up, which make up much
    // of a real page's length.
    out.line("<script type=\"text/javascript\">");
    int block = 0;
    while (out.size() + 64 < targetBytes) {
        out.line("\tg_rgLocalization['sharedfiles_" + std::to_string(block++) +
                 "'] = \"" + random.hex(48) +
                 "\"; // Subscribe, Unsubscribe, Favorite, Unfavorite, Rate Up, Rate Down");
    }
    out.line("</script>");
    out.line("</body>");
    out.line("</html>");
}

}  // namespace

std::string BuildItemPage(const ItemPage& page) {
    Random random(page.id);
    PageWriter out(page.lineEnd);
    const std::string profile = Slug(page.author, random);
    const bool classic = page.layout == PageLayout::Classic;
    std::string imageLink;
    if (!page.previewBase.empty()) {
        imageLink =
            classic ? "<link rel=\"image_src\" href=\"" + page.previewBase + "?imw=200&imh=200\" />"
                    : "\t\t\t<link rel=\"image_src\" href=\"" + page.previewBase +
                          "?imw=512&amp;&amp;ima=fit&amp;impolicy=Letterbox&amp;"
                          "imcolor=%23000000&amp;letterbox=false\">";
    }
    const std::string titleLine = classic ? "<title>Steam Workshop :: " + page.title + "</title>"
                                          : "\t\t<title>Steam Workshop::" + page.title + "</title>";
    Head(out, random, titleLine, imageLink, page.live, "Steam Workshop::" + page.title,
         page.layout);
    GlobalHeader(out, random, page.targetBytes * 45 / 100);
    out.line("\t<div class=\"responsive_page_content\">");
    out.line("\t<div id=\"global_header\"><div class=\"content\"><div class=\"logo\">"
             "<span id=\"logo_holder\"><a href=\"" + std::string(kStore) +
             "/?snr=1_5_9__global-header\"><img src=\"" + std::string(kStatic) +
             "/public/shared/images/header/logo_steam.svg?t=962016\" width=\"176\" height=\"44\" "
             "alt=\"Link to the Steam Homepage\"></a></span></div></div></div>");
    out.line("\t<div id=\"ModalContentContainer\" class=\"workshop_item_page\">");
    Breadcrumbs(out, page, profile);
    PictureStrip(out, page, random);
    out.line("\t<div class=\"workshopItemDetailsContainer\">");
    out.line("\t\t<div class=\"col_left\">");
    Description(out, page);
    out.line("\t\t</div>");
    out.line("\t\t<div class=\"col_right\">");
    RightColumn(out, page, profile, random);
    out.line("\t\t</div>");
    out.line("\t</div>");
    out.line("\t<div class=\"commentthread_area\" id=\"commentthread_PublishedFile_Public_" +
             page.id + "_area\">");
    const std::size_t comments = 6 + random.below(10);
    for (std::size_t i = 0; i < comments && out.size() + 2048 < page.targetBytes; ++i) {
        Comment(out, random);
    }
    out.line("\t</div>");
    out.line("\t</div>");
    out.line("\t</div>");
    Footer(out, random, page.targetBytes);
    return out.take();
}

std::string BuildRemovedItemPage(const std::string& id, std::size_t targetBytes,
                                 const std::string& lineEnd, PageLayout layout) {
    Random random(id + "removed");
    PageWriter out(lineEnd);
    const bool classic = layout == PageLayout::Classic;
    Head(out, random,
         classic ? "<title>Steam Community :: Error</title>"
                 : "\t\t<title>Steam Community :: Error</title>",
         std::string(), !classic, "Steam Community :: Error", layout);
    GlobalHeader(out, random, targetBytes / 2);
    out.line("\t<div class=\"responsive_page_content\">");
    out.line("\t\t<div id=\"message\">");
    out.line("\t\t\t<h3>There was a problem accessing the item.  Please try again.</h3>");
    out.line("\t\t\t<p>The item you were looking for (" + id + ") has been removed, or you do "
             "not have permission to view it.</p>");
    out.line("\t\t</div>");
    out.line("\t</div>");
    Footer(out, random, targetBytes);
    return out.take();
}

}  // namespace kestavel::workshop
