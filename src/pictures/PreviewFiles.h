#pragma once

#include <string>

#include "platform/GbkText.h"

namespace kestavel {

// The three files of an item's preview picture in its folder: <编码>.jpg, the temporary download
// <编码>.tmp.jpg and the backup <编码>.bak.jpg.
struct PreviewFiles {
    std::string picture;
    std::string temporary;
    std::string backup;

    static PreviewFiles of(const std::string& workshopFolder, const GbkText& code);
};

}  // namespace kestavel
