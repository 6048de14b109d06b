#pragma once

#include <cstdint>
#include <string>

namespace kestavel::workshop {

// A real JPEG of about this size whose colours follow the seed. Built with libjpeg when the
// build found it; otherwise the fixed picture below, whatever size is asked for.
std::string MakeJpeg(int width, int height, std::uint32_t seed);

// A fixed 96 × 54 JPEG of 1731 bytes.
std::string FallbackJpeg();

}  // namespace kestavel::workshop
