#include "tests/support/camera_photo.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include <exiv2/exiv2.hpp>

#include "files/photo_metadata.h"
#include "tests/support/jpeg_writer.h"

namespace korven {

namespace {

std::vector<std::uint8_t> bytes_of(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t big_endian_u32(const std::uint8_t* at)
{
    return (std::uint32_t{at[0]} << 24) | (std::uint32_t{at[1]} << 16) | (std::uint32_t{at[2]} << 8) | at[3];
}

// Each chunk of a PNG file: its type and where its data starts and ends.
struct Chunk {
    std::string type;
    std::size_t data, size;
};

std::vector<Chunk> chunks_of(const std::vector<std::uint8_t>& file)
{
    std::vector<Chunk> chunks;
    for (std::size_t at = 8; at + 12 <= file.size();) {
        const std::size_t size = big_endian_u32(&file[at]);
        chunks.push_back({std::string(reinterpret_cast<const char*>(&file[at + 4]), 4), at + 8, size});
        at += 12 + size;
    }
    return chunks;
}

}  // namespace

bool write_camera_photo(const Picture& stored, const std::string& path, int orientation,
                        const std::vector<std::uint8_t>& icc_profile)
{
    prepare_metadata_library();  // before exiv2 sets its XMP toolkit up without a lock
    if (!write_jpeg(stored, path, 95)) return false;
    const std::string thumbnail = path + ".thumbnail.jpg";
    Picture small(16, 12);
    if (!write_jpeg(small, thumbnail, 80)) return false;
    try {
        const std::unique_ptr<Exiv2::Image> image(Exiv2::ImageFactory::open(path, false).release());
        image->readMetadata();
        Exiv2::ExifData exif;
        exif["Exif.Image.Make"] = "Testbild Optics";
        exif["Exif.Image.Model"] = "TB-24 Mark II";
        exif["Exif.Image.Orientation"] = static_cast<std::uint16_t>(orientation);
        exif["Exif.Image.DateTime"] = "2026:05:17 07:12:45";
        exif["Exif.Photo.DateTimeOriginal"] = "2026:05:17 06:58:03";
        exif["Exif.Photo.ExposureTime"] = Exiv2::URational(1, 250);
        exif["Exif.Photo.FNumber"] = Exiv2::URational(56, 10);
        exif["Exif.Photo.ISOSpeedRatings"] = static_cast<std::uint16_t>(200);
        exif["Exif.Photo.PixelXDimension"] = static_cast<std::uint32_t>(stored.width());
        exif["Exif.Photo.PixelYDimension"] = static_cast<std::uint32_t>(stored.height());
        exif["Exif.Photo.ColorSpace"] = static_cast<std::uint16_t>(0xFFFF);
        exif["Exif.Iop.InteroperabilityIndex"] = "R03";
        exif["Exif.GPSInfo.GPSLatitudeRef"] = "N";
        Exiv2::URationalValue latitude;
        latitude.read("54/1 19/1 3012/100");
        exif.add(Exiv2::ExifKey("Exif.GPSInfo.GPSLatitude"), &latitude);
        exif["Exif.GPSInfo.GPSLongitudeRef"] = "E";
        Exiv2::URationalValue longitude;
        longitude.read("10/1 7/1 5521/100");
        exif.add(Exiv2::ExifKey("Exif.GPSInfo.GPSLongitude"), &longitude);
        Exiv2::ExifThumb(exif).setJpegThumbnail(thumbnail);
        image->setExifData(exif);

        Exiv2::XmpData xmp;
        xmp["Xmp.tiff.Orientation"] = std::to_string(orientation);
        xmp["Xmp.exif.PixelXDimension"] = std::to_string(stored.width());
        xmp["Xmp.exif.PixelYDimension"] = std::to_string(stored.height());
        xmp["Xmp.dc.title"] = "lang=\"x-default\" Harbour at dawn";
        xmp["Xmp.xmp.Rating"] = "4";
        image->setXmpData(xmp);

        Exiv2::IptcData iptc;
        iptc["Iptc.Application2.Caption"] = "Fishing boats leaving the harbour at dawn";
        iptc["Iptc.Application2.City"] = "Kappeln";
        image->setIptcData(iptc);

        if (!icc_profile.empty()) {
            Exiv2::DataBuf profile(icc_profile.data(), static_cast<long>(icc_profile.size()));
            image->setIccProfile(profile, false);
        }
        image->writeMetadata();
    } catch (const std::exception&) {
        return false;
    }
    std::filesystem::remove(thumbnail);
    return true;
}

ReadBackMetadata read_back_metadata(const std::string& path)
{
    ReadBackMetadata read;
    const std::unique_ptr<Exiv2::Image> image(Exiv2::ImageFactory::open(path, false).release());
    image->readMetadata();
    for (const Exiv2::Exifdatum& tag : image->exifData()) read.tags[tag.key()] = tag.toString();
    for (const Exiv2::Xmpdatum& tag : image->xmpData()) read.tags[tag.key()] = tag.toString();
    for (const Exiv2::Iptcdatum& tag : image->iptcData()) read.tags[tag.key()] = tag.toString();
    if (const Exiv2::DataBuf* profile = image->iccProfile(); profile->size_ > 0)
        read.icc_profile.assign(profile->pData_, profile->pData_ + profile->size_);
    return read;
}

std::vector<std::string> png_chunk_types(const std::string& path)
{
    std::vector<std::string> types;
    for (const Chunk& chunk : chunks_of(bytes_of(path))) types.push_back(chunk.type);
    return types;
}

std::vector<std::string> png_text_keywords(const std::string& path)
{
    const std::vector<std::uint8_t> file = bytes_of(path);
    std::vector<std::string> keywords;
    for (const Chunk& chunk : chunks_of(file))
        if (chunk.type == "tEXt" || chunk.type == "zTXt" || chunk.type == "iTXt")
            keywords.emplace_back(reinterpret_cast<const char*>(&file[chunk.data]),
                                  strnlen(reinterpret_cast<const char*>(&file[chunk.data]), chunk.size));
    return keywords;
}

}  // namespace korven
