#pragma once
// What a photo file carries beside its pixels: EXIF, XMP and IPTC (read and
// written with exiv2) and its colour profile. They are kept as read, so that
// every JPEG or PNG saved of the photo carries them again.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "files/file_endings.h"
#include "files/file_result.h"

namespace korven {

class ScreenConversion;

struct PhotoMetadata {
    struct Tags;                               // exiv2's own, opaque to the rest of the program
    std::shared_ptr<const Tags> tags;          // null when the file carried none that could be read
    std::vector<std::uint8_t> icc_profile;     // the colour profile's bytes as embedded; empty: none
    bool exif_says_adobe_rgb = false;          // no profile needed: EXIF names Adobe RGB
    std::string unreadable;                    // why some metadata was dropped on reading, or ""
    // How the view turns the photo's colours into sRGB; null: they are shown as they are.
    std::shared_ptr<const ScreenConversion> screen_conversion;
};

// Makes exiv2 ready for file jobs on several threads (its XMP toolkit behind
// a lock, its own log muted). Called once before the first job, and by
// anything else that uses exiv2 before it; the jobs call it too.
void prepare_metadata_library();

// Reads the metadata of a JPEG or PNG file. `file_has_exif` says that the
// reader saw an EXIF block, so an empty reading means it could not be read.
// Never fails: what cannot be read is dropped, and `unreadable` says so.
PhotoMetadata read_photo_metadata(const std::string& path, bool file_has_exif);

// Whether a JPEG file has an APP1 block of EXIF before its picture data.
bool jpeg_has_exif_block(const std::string& path);

// Writes the EXIF, XMP and IPTC of `metadata` into `file`, the bytes of a JPEG
// (`kind` jpeg) or PNG (png) just encoded of a `width` x `height` picture (the encoder has written
// the colour profile), with three changes: the orientation is 1 (the pixels
// are upright), the pixel dimensions are the picture's, and the EXIF
// thumbnail is gone. A PNG gets its EXIF as one eXIf chunk before the picture
// data. On failure `file` is as it was.
FileResult add_photo_metadata(std::vector<std::uint8_t>& file, PictureFileKind kind, const PhotoMetadata& metadata,
                              int width, int height);

}  // namespace korven
