#pragma once
// Converting a JPEG file into a BMP file beside it, which loading then reads.

#include <string>

#include "core/picture.h"
#include "files/file_result.h"

namespace korven {

enum class ConversionOutcome {
    written,   // the BMP file was written
    reused,    // a BMP file holding the same picture was there already
    differs,   // a BMP file holding another picture is there; nothing was written
    failed,    // the JPEG could not be read or the BMP not written; see `reason`
};

struct Conversion {
    ConversionOutcome outcome = ConversionOutcome::written;
    std::string reason;
    // Written, reused or differs: the decoded picture, exactly as reading the
    // BMP file it is written to gives it.
    Picture picture;
};

// Decodes `jpeg_path` upright and writes it as a BMP file at `bmp_path`. An
// existing file there is never replaced: one holding the same picture is kept
// as it is, one holding another is reported (`differs`), for the caller to
// ask whether to replace it with `write_converted_bmp`. The decoded picture
// comes back with the outcome, so the file need not be read again.
Conversion JPEG2BMP(const std::string& jpeg_path, const std::string& bmp_path);

// Writes a converted picture as the BMP file at `bmp_path`, replacing what is there.
FileResult write_converted_bmp(const Picture& picture, const std::string& bmp_path);

}  // namespace korven
