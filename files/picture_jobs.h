#pragma once
// Loading and saving a photo as whole jobs: a path in, a picture or a reason
// out. They show nothing, ask nothing and keep nothing, so they need no window
// and several may run at once on different threads; the handlers around them
// talk to the user.

#include <string>

#include "core/picture.h"
#include "files/file_result.h"

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

// What a load can tell before it reads the picture, from the file's ending and
// header alone: why it is refused (a file of another ending, or one whose
// original and adjusted picture would not both fit the memory this machine
// gives), or, when `refusal` is empty, how many pixels it will read.
struct LoadPlan {
    std::string refusal;
    long long pixels = 0;
    bool jpeg = false;
};
LoadPlan plan_load(const std::string& path);

// Reads a BMP file, or converts a JPEG file into a BMP file beside it and
// reads that, as `plan_load(path)` planned it. Refuses what the plan refuses,
// and every file that cannot be read.
LoadedPicture load_picture(const std::string& path, const LoadPlan& plan);
inline LoadedPicture load_picture(const std::string& path) { return load_picture(path, plan_load(path)); }

// Why no file can be saved at `path` (a folder, or a folder that does not
// exist), in words a user understands, or "" when one may be.
std::string save_refusal(const std::string& path);

// Writes `picture` as a PNG file when `path` ends in ".png" in any case, as a
// BMP file otherwise, through a temporary file renamed over the target only
// when whole. Refuses what `save_refusal` refuses.
FileResult save_picture(const Picture& picture, const std::string& path);

}  // namespace korven
