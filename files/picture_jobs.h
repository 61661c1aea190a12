#pragma once
// Loading and saving a photo as whole jobs: a path in, a picture or a reason
// out. They show nothing, ask nothing and keep nothing, so they need no window
// and several may run at once on different threads; the handlers around them
// talk to the user.

#include <string>

#include "core/picture.h"
#include "files/output_file.h"

namespace korven {

struct LoadedPicture {
    enum class Outcome {
        loaded,
        refused,      // see `reason`; nothing was written
        bmp_differs,  // a JPEG whose BMP file beside it holds another picture: nothing
                      // was written; `write_converted_bmp(picture, path)` replaces it
    };
    Outcome outcome = Outcome::refused;
    std::string path;    // the file the picture stands for from now on: a JPEG's BMP file
    Picture picture;
    std::string reason;  // why it was refused, in words for the user

    bool loaded() const { return outcome == Outcome::loaded; }
};

// Reads a BMP file, or converts a JPEG file into a BMP file beside it and
// reads that. Refuses a file of another ending, one whose original and
// adjusted picture would not both fit the memory this machine gives (told
// from its header, before anything is read), and every file that cannot be read.
LoadedPicture load_picture(const std::string& path);

// Writes `picture` as a PNG file when `path` ends in ".png" in any case, as a
// BMP file otherwise, through a temporary file renamed over the target only
// when whole.
FileResult save_picture(const Picture& picture, const std::string& path);

}  // namespace korven
