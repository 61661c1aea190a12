#include "tests/support/jpeg_writer.h"

#include <jpeglib.h>

#include <cstdio>

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
    // Our colour values are the bytes red, green, blue and an unused one in memory.
    compress.input_components = 4;
    compress.in_color_space = JCS_EXT_RGBX;
    jpeg_set_defaults(&compress);
    jpeg_set_quality(&compress, quality, TRUE);
    jpeg_start_compress(&compress, TRUE);
    for (int y = 0; y < picture.height(); ++y) {
        // libjpeg takes rows it does not write to as non-const.
        JSAMPROW rows[] = {reinterpret_cast<JSAMPROW>(const_cast<Colour*>(picture.row(y)))};
        jpeg_write_scanlines(&compress, rows, 1);
    }
    jpeg_finish_compress(&compress);
    jpeg_destroy_compress(&compress);
    return std::fclose(file) == 0;
}

}  // namespace korven
