#include "files/jpeg_writer.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <new>

#include "files/jpeg_errors.h"

namespace korven {

namespace {

using jpeg::ErrorExit;

// libjpeg's output goes straight into the caller's vector, which starts at a
// guess of the file's size and grows by half when full: no second buffer and
// no copy at the end.
struct VectorDestination {
    jpeg_destination_mgr manager;  // first, so libjpeg's pointer is also ours
    std::vector<std::uint8_t>* bytes;
};

// Makes the vector `size` bytes long and points libjpeg past the first
// `written`. No memory: out as libjpeg's own errors go, once the exception is over.
void give_room(j_compress_ptr info, std::size_t written, std::size_t size)
{
    auto* to = reinterpret_cast<VectorDestination*>(info->dest);
    bool grown = true;
    try {
        to->bytes->resize(size);
    } catch (const std::bad_alloc&) {
        grown = false;
    }
    if (!grown) ERREXIT(info, JERR_OUT_OF_MEMORY);
    to->manager.next_output_byte = to->bytes->data() + written;
    to->manager.free_in_buffer = size - written;
}

// Photos at the usual qualities take from 2 to 4 bits a pixel.
void start_writing(j_compress_ptr info)
{
    give_room(info, 0, std::max<std::size_t>(16384, std::size_t{info->image_width} * info->image_height * 3 / 8));
}

// Called only when the buffer is full.
boolean grow(j_compress_ptr info)
{
    const std::size_t full = reinterpret_cast<VectorDestination*>(info->dest)->bytes->size();
    give_room(info, full, full + full / 2);
    return TRUE;
}

void finish_writing(j_compress_ptr info)
{
    auto* to = reinterpret_cast<VectorDestination*>(info->dest);
    to->bytes->resize(to->bytes->size() - to->manager.free_in_buffer);
}

// Everything libjpeg may jump out of. Only plain data lives in this frame;
// the vector is the caller's.
bool compress(const PictureRows& rows, int quality, std::span<const std::uint8_t> icc_profile, ErrorExit& errors,
              VectorDestination& destination)
{
    jpeg_compress_struct info{};
    info.err = jpeg::reporting_to(errors);
    if (setjmp(errors.back)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    destination.manager.init_destination = start_writing;
    destination.manager.empty_output_buffer = grow;
    destination.manager.term_destination = finish_writing;
    info.dest = &destination.manager;
    info.image_width = static_cast<JDIMENSION>(rows.width);
    info.image_height = static_cast<JDIMENSION>(rows.height);
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
        JSAMPROW row[1] = {reinterpret_cast<JSAMPROW>(
            const_cast<Colour*>(rows.row(static_cast<int>(info.next_scanline))))};
        jpeg_write_scanlines(&info, row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

}  // namespace

PictureRows rows_of(const Picture& picture)
{
    return {picture.width(), picture.height(), [&picture](int y) { return picture.row(y); }};
}

FileResult encode_jpeg(const PictureRows& rows, int quality, std::span<const std::uint8_t> icc_profile,
                       std::vector<std::uint8_t>& bytes)
{
    if (rows.width <= 0 || rows.height <= 0) return file_failure("there is no picture to save");
    ErrorExit errors{};
    VectorDestination destination{{}, &bytes};
    if (!compress(rows, quality, icc_profile, errors, destination)) {
        bytes.clear();
        return file_failure(std::string("the JPEG picture could not be made (") + errors.message + ")");
    }
    return {};
}

FileResult encode_jpeg(const Picture& picture, int quality, std::span<const std::uint8_t> icc_profile,
                       std::vector<std::uint8_t>& bytes)
{
    return encode_jpeg(rows_of(picture), quality, icc_profile, bytes);
}

}  // namespace korven
