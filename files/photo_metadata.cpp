#include "files/photo_metadata.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <fstream>
#include <memory>
#include <mutex>

#include <exiv2/exiv2.hpp>

#include "files/png_chunks.h"

namespace korven {

struct PhotoMetadata::Tags {
    Exiv2::ExifData exif;
    Exiv2::XmpData xmp;
    Exiv2::IptcData iptc;
    Exiv2::ByteOrder byte_order = Exiv2::littleEndian;
};

namespace {

// exiv2's XMP toolkit is shared by the file jobs, which run on several threads.
std::mutex xmp_toolkit;

void lock_xmp_toolkit(void*, bool lock)
{
    if (lock) xmp_toolkit.lock();
    else xmp_toolkit.unlock();
}

}  // namespace

// exiv2's own log is muted: what it cannot read is reported by the job,
// once, in our words.
void prepare_metadata_library()
{
    static std::once_flag once;
    std::call_once(once, [] {
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        Exiv2::XmpParser::initialize(lock_xmp_toolkit, nullptr);
    });
}

namespace {

bool says_adobe_rgb(const Exiv2::ExifData& exif)
{
    const auto colour_space = exif.findKey(Exiv2::ExifKey("Exif.Photo.ColorSpace"));
    const auto index = exif.findKey(Exiv2::ExifKey("Exif.Iop.InteroperabilityIndex"));
    return colour_space != exif.end() && index != exif.end() && colour_space->count() > 0 &&
           colour_space->toLong() == 0xFFFF && index->toString().starts_with("R03");
}

template <typename Key, typename Data, typename Value>
void replace_where_present(Data& data, const char* key, Value value)
{
    if (const auto found = data.findKey(Key(key)); found != data.end()) *found = value;
}

// The three changes every saved copy gets: upright, its own size, no thumbnail.
void describe_saved_picture(PhotoMetadata::Tags& tags, int width, int height)
{
    const auto w = static_cast<std::uint32_t>(width), h = static_cast<std::uint32_t>(height);
    replace_where_present<Exiv2::ExifKey>(tags.exif, "Exif.Image.Orientation", std::uint16_t{1});
    for (auto [key, value] : {std::pair{"Exif.Photo.PixelXDimension", w}, {"Exif.Photo.PixelYDimension", h},
                              {"Exif.Image.ImageWidth", w}, {"Exif.Image.ImageLength", h}})
        replace_where_present<Exiv2::ExifKey>(tags.exif, key, value);
    Exiv2::ExifThumb(tags.exif).erase();
    for (auto [key, value] : {std::pair{"Xmp.tiff.Orientation", 1u}, {"Xmp.exif.PixelXDimension", w},
                              {"Xmp.exif.PixelYDimension", h}, {"Xmp.tiff.ImageWidth", w},
                              {"Xmp.tiff.ImageLength", h}})
        replace_where_present<Exiv2::XmpKey>(tags.xmp, key, std::to_string(value));
}

std::vector<std::uint8_t> all_bytes(Exiv2::BasicIo& io)
{
    io.open();
    const Exiv2::DataBuf bytes = io.read(static_cast<long>(io.size()));
    io.close();
    return {bytes.pData_, bytes.pData_ + bytes.size_};
}

}  // namespace

bool jpeg_has_exif_block(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::uint8_t start[2] = {}, segment[4] = {};
    if (!file.read(reinterpret_cast<char*>(start), 2) || start[0] != 0xFF || start[1] != 0xD8) return false;
    while (file.read(reinterpret_cast<char*>(segment), 4) && segment[0] == 0xFF) {
        const int marker = segment[1], length = (segment[2] << 8) | segment[3];
        if (marker == 0xDA || marker == 0xD9 || length < 2) return false;  // picture data: no more metadata
        char id[6] = {};
        if (marker == 0xE1 && length >= 8) {
            if (!file.read(id, 6)) return false;
            if (std::memcmp(id, "Exif\0\0", 6) == 0) return true;
            file.seekg(length - 8, std::ios::cur);
        } else {
            file.seekg(length - 2, std::ios::cur);
        }
    }
    return false;
}

PhotoMetadata read_photo_metadata(const std::string& path, bool file_has_exif)
{
    prepare_metadata_library();
    PhotoMetadata metadata;
    auto tags = std::make_shared<PhotoMetadata::Tags>();
    try {
        const std::unique_ptr<Exiv2::Image> image(Exiv2::ImageFactory::open(path, false).release());
        image->readMetadata();
        tags->exif = image->exifData();
        tags->xmp = image->xmpData();
        tags->iptc = image->iptcData();
        tags->byte_order = image->byteOrder() == Exiv2::bigEndian ? Exiv2::bigEndian : Exiv2::littleEndian;
        if (const Exiv2::DataBuf* profile = image->iccProfile(); profile->size_ > 0)
            metadata.icc_profile.assign(profile->pData_, profile->pData_ + profile->size_);
        if (!image->xmpPacket().empty() && tags->xmp.empty()) metadata.unreadable = "its XMP could not be read";
    } catch (const std::exception& error) {
        metadata.unreadable = error.what();
        return metadata;
    }
    if (file_has_exif && tags->exif.empty()) metadata.unreadable = "its EXIF could not be read";
    metadata.exif_says_adobe_rgb = says_adobe_rgb(tags->exif);
    if (!tags->exif.empty() || !tags->xmp.empty() || !tags->iptc.empty()) metadata.tags = std::move(tags);
    return metadata;
}

FileResult add_photo_metadata(std::vector<std::uint8_t>& file, PictureFileKind kind, const PhotoMetadata& metadata,
                              int width, int height)
{
    if (!metadata.tags) return {};
    prepare_metadata_library();
    try {
        PhotoMetadata::Tags tags = *metadata.tags;
        describe_saved_picture(tags, width, height);
        const std::unique_ptr<Exiv2::Image> image(
            Exiv2::ImageFactory::open(file.data(), static_cast<long>(file.size())).release());
        image->readMetadata();  // keeps the colour profile the encoder wrote
        // exiv2 writes a PNG's EXIF only as a text chunk that few readers
        // read: it goes into an eXIf chunk of our own below.
        image->setExifData(kind == PictureFileKind::png ? Exiv2::ExifData() : tags.exif);
        image->setXmpData(tags.xmp);
        image->setIptcData(tags.iptc);
        image->writeMetadata();
        std::vector<std::uint8_t> written = all_bytes(image->io());
        if (kind == PictureFileKind::png && !tags.exif.empty()) {
            Exiv2::Blob exif;
            Exiv2::ExifParser::encode(exif, tags.byte_order, tags.exif);
            if (!insert_chunk_before_pixels(written, "eXIf", exif))
                return file_failure("the PNG picture has no picture data");
        }
        file = std::move(written);
    } catch (const std::exception& error) {
        return file_failure(error.what());
    }
    return {};
}

}  // namespace korven
