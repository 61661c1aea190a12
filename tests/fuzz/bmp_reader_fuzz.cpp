// The BMP reader on any bytes: read whole and read in pieces it gives the same
// answer; a picture it accepts is no larger than its data can describe, is
// what the header's size says, and survives writing and reading back.
#include <algorithm>
#include <cstring>
#include <span>

#include "files/bmp_format.h"
#include "tests/fuzz/fuzz_entry.h"

namespace {

using namespace korven;
using fuzz::require;

// The file as the program reads it from disk: a piece at a time.
class BytesInPieces final : public bmp::FileReader {
public:
    explicit BytesInPieces(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::uint64_t size() const override { return bytes_.size(); }
    bool read(std::uint64_t offset, std::size_t length, std::uint8_t* to) override
    {
        if (offset > bytes_.size() || length > bytes_.size() - offset) return false;
        if (length > 0) std::memcpy(to, bytes_.data() + offset, length);
        return true;
    }

private:
    std::span<const std::uint8_t> bytes_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> file(data, size);
    const bmp::DecodeResult whole = bmp::decode(file);
    BytesInPieces pieces(file);
    const bmp::DecodeResult read = bmp::decode(pieces);
    require(read.error == whole.error && read.picture == whole.picture,
            "reading in pieces gives another answer than reading whole");
    if (!whole.ok()) {
        require(whole.picture.empty(), "a refused file came with a picture");
        return 0;
    }
    const Picture& picture = whole.picture;
    require(!picture.empty() && picture.width() <= 32767 && picture.height() <= 32767,
            "an accepted picture has a side of 0 or over 32767");
    require(picture.pixels().size() <= 256 * size, "more pixels than the data can describe");
    require(bmp::header_pixels(file.first(std::min<std::size_t>(size, 154))) ==
                static_cast<std::int64_t>(picture.width()) * picture.height(),
            "the header's pixel count differs from the picture read");
    const bmp::DecodeResult again = bmp::decode(bmp::encode(picture.view()));
    require(again.ok() && again.picture == picture, "the picture written and read back differs");
    return 0;
}
