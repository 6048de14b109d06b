#include "catalogue/WorkshopSettings.h"

#include <string_view>

#include "platform/CodePage.h"
#include "platform/FileSystem.h"

namespace kestavel {
namespace {

std::string_view TakeLine(std::string_view& rest) {
    std::size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

std::string ToUnicode(std::string_view line) {
    if (IsValidUtf8(line)) return std::string(line);
    return GbkToUtf8(GbkText::fromBytes(std::string(line)));
}

// Many GBK byte runs also read as valid UTF-8: the reading that names an existing folder wins,
// UTF-8 when both or neither do.
std::string FolderToUnicode(std::string_view line) {
    if (!IsValidUtf8(line)) return ToUnicode(line);
    const std::string asUtf8(line);
    if (IsDirectory(asUtf8)) return asUtf8;
    const std::string asGbk = GbkToUtf8(GbkText::fromBytes(asUtf8));
    return IsDirectory(asGbk) ? asGbk : asUtf8;
}

}  // namespace

WorkshopSettings WorkshopSettings::parse(const std::string& contents) {
    std::string_view rest = contents;
    WorkshopSettings settings;
    settings.workshopFolder = FolderToUnicode(TakeLine(rest));
    settings.pagePrefix = ToUnicode(TakeLine(rest));
    return settings;
}

std::optional<WorkshopSettings> WorkshopSettings::read(const std::string& path) {
    auto contents = ReadWholeFile(path);
    if (!contents) return std::nullopt;
    return parse(*contents);
}

}  // namespace kestavel
