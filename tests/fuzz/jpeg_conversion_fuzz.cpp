// The JPEG conversion on any bytes, EXIF orientation included: it refuses with
// a reason and leaves no BMP file, or it writes a BMP file that reads back as
// exactly the picture it returns, upright, of the size the header promises.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "files/jpeg_to_bmp.h"
#include "files/image_files.h"
#include "tests/fuzz/fuzz_entry.h"

namespace {

using namespace korven;
using fuzz::require;
namespace fs = std::filesystem;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string jpeg = (fuzz::scratch_folder() / "photo.jpg").string();
    const std::string bmp = (fuzz::scratch_folder() / "photo.bmp").string();
    std::ofstream(jpeg, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data),
                                                                  static_cast<std::streamsize>(size));
    fs::remove(bmp);
    // Huge promised pictures decode slowly and prove nothing new here.
    const long long promised = fe::picture_file_pixels(jpeg);
    if (promised > (1 << 22)) return 0;

    const Conversion conversion = JPEG2BMP(jpeg, bmp);
    if (conversion.outcome == ConversionOutcome::failed) {
        require(!conversion.reason.empty(), "a failed conversion does not say why");
        require(!fs::exists(bmp), "a failed conversion left a BMP file");
        return 0;
    }
    require(conversion.outcome == ConversionOutcome::written, "a conversion into no file was not written");
    const Picture& picture = conversion.picture;
    require(!picture.empty() && picture.width() <= 32767 && picture.height() <= 32767,
            "a converted picture has a side of 0 or over 32767");
    require(promised == static_cast<long long>(picture.width()) * picture.height(),
            "the converted picture is not the size its header promises");
    Picture written;
    require(fe::load_file(written, bmp).ok && written == picture, "the BMP file holds another picture");
    return 0;
}
