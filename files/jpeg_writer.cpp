#include "files/jpeg_writer.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "files/jpeg_errors.h"

namespace korven {

namespace {

using jpeg::ErrorExit;

// Everything libjpeg may jump out of. Only plain data lives in this frame;
// the memory libjpeg writes into is freed by the caller either way.
bool compress(const Picture& picture, int quality, std::span<const std::uint8_t> icc_profile, ErrorExit& errors,
              unsigned char*& buffer, unsigned long& size)
{
    jpeg_compress_struct info{};
    info.err = jpeg::reporting_to(errors);
    if (setjmp(errors.back)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(picture.width());
    info.image_height = static_cast<JDIMENSION>(picture.height());
    // Our colour values are the bytes red, green, blue and an unused one in
    // memory, which libjpeg-turbo takes as they are.
    info.input_components = 4;
    info.in_color_space = JCS_EXT_RGBX;
    jpeg_set_defaults(&info);  // YCbCr with 2 x 2 chroma (4:2:0), Huffman, baseline
    jpeg_set_quality(&info, std::clamp(quality, 1, 100), TRUE);
    // 96 dots per inch, the resolution pictures are shown at (as the PNG files say).
    info.density_unit = 1;
    info.X_density = info.Y_density = 96;
    jpeg_start_compress(&info, TRUE);
    if (!icc_profile.empty())
        jpeg_write_icc_profile(&info, icc_profile.data(), static_cast<unsigned int>(icc_profile.size()));
    while (info.next_scanline < info.image_height) {
        JSAMPROW row[1] = {reinterpret_cast<JSAMPROW>(const_cast<Colour*>(picture.row(
            static_cast<int>(info.next_scanline))))};
        jpeg_write_scanlines(&info, row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

}  // namespace

FileResult encode_jpeg(const Picture& picture, int quality, std::span<const std::uint8_t> icc_profile,
                       std::vector<std::uint8_t>& bytes)
{
    if (picture.empty()) return file_failure("there is no picture to save");
    ErrorExit errors{};
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    const bool compressed = compress(picture, quality, icc_profile, errors, buffer, size);
    const std::unique_ptr<unsigned char, decltype(&std::free)> owned(buffer, std::free);
    if (compressed) bytes.assign(buffer, buffer + size);
    if (!compressed) return file_failure(std::string("the JPEG picture could not be made (") + errors.message + ")");
    return {};
}

}  // namespace korven
