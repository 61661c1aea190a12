// The PNG reader on any bytes: it refuses with a reason and leaves the picture
// as it was, or it reads a picture of the size the header promises (turned
// for orientations 5 to 8) whose colour values have nothing in their top byte.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <zlib.h>

#include "files/image_files.h"
#include "files/png_chunks.h"
#include "files/png_reader.h"
#include "tests/fuzz/fuzz_entry.h"

namespace {

using namespace korven;
using fuzz::require;

// The input with the CRC of each of its chunks made right, so that mutations
// reach past libpng's checks into the chunks' contents. Inputs of odd length
// keep their CRCs as they are, so that the checks are fuzzed too.
std::vector<std::uint8_t> with_right_crcs(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::uint8_t> bytes(data, data + size);
    if (size % 2 == 1) return bytes;
    // After the signature: each chunk's length, name, contents and CRC of the name and contents.
    for (std::size_t at = 8; at + 12 <= size;) {
        const std::size_t length = png_u32(&bytes[at]);
        if (length > size - at - 12) break;
        const auto crc = static_cast<std::uint32_t>(crc32(0, &bytes[at + 4], static_cast<uInt>(length + 4)));
        for (int i = 0; i < 4; ++i) bytes[at + 8 + length + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
        at += 12 + length;
    }
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string file = (fuzz::scratch_folder() / "picture.png").string();
    const std::vector<std::uint8_t> bytes = with_right_crcs(data, size);
    std::ofstream(file, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(bytes.data()),
                                                                  static_cast<std::streamsize>(size));
    // Huge promised pictures decode slowly and prove nothing new here.
    const long long promised = fe::picture_file_pixels(file);
    if (promised > (1 << 22)) return 0;

    const Picture before(2, 1);
    Picture picture = before;
    fe::PngFacts facts;
    const FileResult result = fe::read_png(file, picture, facts);
    if (!result.ok) {
        require(!result.reason.empty(), "a refusal does not say why");
        require(picture == before, "a refusal changed the picture");
        return 0;
    }
    require(!picture.empty() && picture.width() <= 32767 && picture.height() <= 32767,
            "a picture read has a side of 0 or over 32767");
    require(promised > 0 && size >= 24, "a picture was read from a file with no PNG header");
    const int width = static_cast<int>(png_u32(&bytes[16]));
    const int height = static_cast<int>(png_u32(&bytes[20]));
    require(facts.exif_orientation >= 1 && facts.exif_orientation <= 8 &&
                (facts.has_exif_chunk || facts.exif_orientation == 1),
            "the orientation is out of range or has no eXIf chunk behind it");
    const bool turned = facts.exif_orientation >= 5;
    require(picture.width() == (turned ? height : width) && picture.height() == (turned ? width : height),
            "the picture is not the size its header promises");
    for (const Colour p : picture.pixels()) require((p >> 24) == 0, "a colour value has a top byte");
    return 0;
}
