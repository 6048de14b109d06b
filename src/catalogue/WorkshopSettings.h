#pragma once

#include <optional>
#include <string>

namespace kestavel {

// The two lines of VODarer.txt: the workshop folder and the workshop page prefix, as Unicode
// (UTF-8) text the way the edit boxes hold them. A line that is valid UTF-8 is taken as it
// stands, since paths on this platform are UTF-8; any other line is read as GBK.
struct WorkshopSettings {
    static constexpr const char* kFileName = "VODarer.txt";

    std::string workshopFolder;
    std::string pagePrefix;

    // Lines end at LF, a CR before it is dropped, a missing line reads as empty text, lines
    // after the second are ignored. Nothing when the file cannot be read.
    static std::optional<WorkshopSettings> read(const std::string& path);
    static WorkshopSettings parse(const std::string& contents);
};

}  // namespace kestavel
