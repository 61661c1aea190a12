#include "tests/support/jpeg_writer.h"

#include <jpeglib.h>

#include <cstdio>
#include <vector>

namespace korven {

bool write_jpeg(const Picture& picture, const std::string& path, int quality)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    jpeg_compress_struct compress{};
    jpeg_error_mgr errors{};
    compress.err = jpeg_std_error(&errors);  // test pictures are always valid; an error ends the test
    jpeg_create_compress(&compress);
    jpeg_stdio_dest(&compress, file);
    compress.image_width = static_cast<JDIMENSION>(picture.width());
    compress.image_height = static_cast<JDIMENSION>(picture.height());
    compress.input_components = 3;
    compress.in_color_space = JCS_RGB;
    jpeg_set_defaults(&compress);
    jpeg_set_quality(&compress, quality, TRUE);
    jpeg_start_compress(&compress, TRUE);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(picture.width()) * 3);
    for (int y = 0; y < picture.height(); ++y) {
        const Colour* from = picture.row(y);
        for (int x = 0; x < picture.width(); ++x) {
            row[3 * x] = static_cast<JSAMPLE>(red_of(from[x]));
            row[3 * x + 1] = static_cast<JSAMPLE>(green_of(from[x]));
            row[3 * x + 2] = static_cast<JSAMPLE>(blue_of(from[x]));
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&compress, rows, 1);
    }
    jpeg_finish_compress(&compress);
    jpeg_destroy_compress(&compress);
    return std::fclose(file) == 0;
}

}  // namespace korven
