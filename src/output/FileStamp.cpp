#include "output/FileStamp.h"

#include <cstdio>

namespace kestavel {

std::string FileStamp(const LocalDateTime& when) {
    char text[48];
    std::snprintf(text, sizeof text, "%d_%02d_%02d_%02d%02d_%02d", when.year, when.month, when.day,
                  when.hour, when.minute, when.second);
    return text;
}

}  // namespace kestavel
