// Metadata read from any JPEG bytes and written again. Reading never fails:
// what cannot be read is dropped with a reason. The view's conversion is
// made from what was read, or none is. Writing it into a small JPEG and a
// small PNG gives a file of that kind, or a reason and the file as it was.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/screen_conversion.h"
#include "files/colour_profile.h"
#include "files/jpeg_writer.h"
#include "files/photo_metadata.h"
#include "files/png_file.h"
#include "tests/fuzz/fuzz_entry.h"

namespace {

using namespace korven;
using fuzz::require;

// Writes the metadata into a freshly encoded file of one kind; it stays a file of that kind.
void write_into(PictureFileKind kind, const PhotoMetadata& metadata, const Picture& picture)
{
    std::vector<std::uint8_t> file;
    const FileResult encoded = kind == PictureFileKind::jpeg ? encode_jpeg(picture, 90, metadata.icc_profile, file)
                                                             : encode_png(picture, metadata.icc_profile, file);
    require(encoded.ok, "a small picture could not be encoded: " + encoded.reason);
    const std::vector<std::uint8_t> before = file;
    const FileResult added = add_photo_metadata(file, kind, metadata, picture.width(), picture.height());
    require(added.ok || (!added.reason.empty() && file == before), "a failed write changed the file or said nothing");
    const std::uint8_t start = kind == PictureFileKind::jpeg ? 0xFF : 0x89;
    require(file.size() > 8 && file[0] == start, "metadata written into a file made it another kind of file");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string jpeg = (fuzz::scratch_folder() / "photo.jpg").string();
    std::ofstream(jpeg, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data),
                                                                  static_cast<std::streamsize>(size));
    const PhotoMetadata metadata = read_photo_metadata(jpeg, jpeg_has_exif_block(jpeg));
    if (const auto conversion = screen_conversion_for(metadata.icc_profile, metadata.exif_says_adobe_rgb)) {
        Picture colours(16, 16);
        for (int i = 0; i < 256; ++i) colours.pixels()[static_cast<std::size_t>(i)] = rgb(i, 255 - i, i * 7);
        conversion->convert(colours.view());
        for (const Colour colour : colours.pixels()) require(colour >> 24 == 0, "a converted colour has a top byte");
    }
    const Picture picture(5, 3);
    write_into(PictureFileKind::jpeg, metadata, picture);
    write_into(PictureFileKind::png, metadata, picture);
    return 0;
}
