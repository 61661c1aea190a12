#pragma once
// Converting a JPEG file into a BMP file beside it, which loading then reads.

#include <string>

#include "platform/form.h"

namespace korven {

enum class ConversionOutcome {
    written,   // the BMP file was written
    reused,    // a BMP file holding the same picture was there already
    declined,  // a different BMP file was there and the user kept it
    failed,    // the JPEG could not be read or the BMP not written; see `reason`
};

struct Conversion {
    ConversionOutcome outcome = ConversionOutcome::written;
    std::string reason;
    // Written or reused: the picture, exactly as reading the BMP file gives it.
    fe::Bitmap picture;
};

// Decodes `jpeg_path` upright and writes it as a BMP file at `bmp_path`. An
// existing file there is replaced only if it holds a different picture and the
// user agrees; one holding the same picture is kept as it is. The decoded
// picture comes back with the outcome, so the file need not be read again.
Conversion JPEG2BMP(const std::string& jpeg_path, const std::string& bmp_path);

}  // namespace korven
