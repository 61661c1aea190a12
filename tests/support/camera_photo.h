#pragma once
// Photos as a camera writes them, made by the tests: a JPEG with EXIF (an
// orientation, the camera, the exposure, a GPS position, dates, a
// thumbnail), an XMP packet, an IPTC caption and an embedded colour profile.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "core/picture.h"

namespace korven {

// Writes `stored` (the rows as the sensor gave them, before the turn that
// `orientation` asks for) as such a JPEG at `path`, with `icc_profile`
// embedded if not empty; false when it cannot be written.
bool write_camera_photo(const Picture& stored, const std::string& path, int orientation,
                        const std::vector<std::uint8_t>& icc_profile);

// Everything a photo file carries, read back with exiv2: each EXIF, XMP and
// IPTC key with its value as text, and the colour profile's bytes.
struct ReadBackMetadata {
    std::map<std::string, std::string> tags;
    std::vector<std::uint8_t> icc_profile;
};
ReadBackMetadata read_back_metadata(const std::string& path);

// The PNG chunks of a file by type, in order (for checking where EXIF went).
std::vector<std::string> png_chunk_types(const std::string& path);
// The keywords of its text chunks (tEXt, zTXt, iTXt).
std::vector<std::string> png_text_keywords(const std::string& path);

}  // namespace korven
