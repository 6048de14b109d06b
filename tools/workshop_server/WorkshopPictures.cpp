#include "WorkshopPictures.h"

#include <cstdint>
#include <cstdlib>
#include <string>

#include <jpeglib.h>
#include <cstdio>  // jpeglib.h needs FILE declared first

#include <vector>

namespace kestavel::workshop {

std::string MakeJpeg(int width, int height, std::uint32_t seed) {
    if (width < 8 || height < 8) width = height = 8;
    jpeg_compress_struct compress{};
    jpeg_error_mgr errors{};
    compress.err = jpeg_std_error(&errors);
    jpeg_create_compress(&compress);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&compress, &buffer, &size);
    compress.image_width = static_cast<JDIMENSION>(width);
    compress.image_height = static_cast<JDIMENSION>(height);
    compress.input_components = 3;
    compress.in_color_space = JCS_RGB;
    jpeg_set_defaults(&compress);
    jpeg_set_quality(&compress, 85, TRUE);
    jpeg_start_compress(&compress, TRUE);

    // A sky-to-ground gradient in the item's own colours, a road band across it and a grid of
    // blocks, so every item's picture looks different and a scaled copy still shows it.
    const int red = 60 + static_cast<int>(seed % 160);
    const int green = 60 + static_cast<int>((seed / 160) % 160);
    const int blue = 60 + static_cast<int>((seed / 25600) % 160);
    std::vector<unsigned char> row(static_cast<std::size_t>(width) * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int shade = 255 * y / height;
            int r = (red * (255 - shade) + 40 * shade) / 255;
            int g = (green * (255 - shade) + 90 * shade) / 255;
            int b = (blue * (255 - shade) + 40 * shade) / 255;
            const bool road = std::abs(y - height / 2 - (x - width / 2) / 3) < height / 14;
            const bool block =
                ((x / (width / 12 + 1)) + (y / (height / 7 + 1))) % 2 == 0 && y > height * 2 / 3;
            if (road) r = g = b = 70;
            if (road && (x / 12) % 2 == 0 && std::abs(y - height / 2 - (x - width / 2) / 3) < 2)
                r = g = b = 230;
            if (block && !road) {
                r = r * 3 / 4;
                g = g * 3 / 4;
                b = b * 3 / 4;
            }
            const auto at = static_cast<std::size_t>(x) * 3;
            row[at] = static_cast<unsigned char>(r);
            row[at + 1] = static_cast<unsigned char>(g);
            row[at + 2] = static_cast<unsigned char>(b);
        }
        JSAMPROW line = row.data();
        jpeg_write_scanlines(&compress, &line, 1);
    }
    jpeg_finish_compress(&compress);
    std::string bytes(reinterpret_cast<const char*>(buffer), size);
    jpeg_destroy_compress(&compress);
    std::free(buffer);
    return bytes;
}

}  // namespace kestavel::workshop
