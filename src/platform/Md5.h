#pragma once

#include <optional>
#include <string>

namespace kestavel {

// The MD5 digest of a whole file as 32 lower-case hex digits; nothing when it cannot be read.
std::optional<std::string> Md5OfFile(const std::string& path);

}  // namespace kestavel
