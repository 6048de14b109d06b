#pragma once

#include <cstdint>
#include <string>

namespace kestavel::workshop {

// A real JPEG of this size whose colours follow the seed.
std::string MakeJpeg(int width, int height, std::uint32_t seed);

}  // namespace kestavel::workshop
