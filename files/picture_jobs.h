#pragma once
// Loading and saving a photo as whole jobs: a path in, a picture or a reason
// out. They show nothing, ask nothing and keep nothing, so they need no window
// and several may run at once on different threads; the handlers around them
// talk to the user.

#include <memory>
#include <string>

#include "core/picture.h"
#include "files/file_endings.h"
#include "files/file_result.h"
#include "files/jpeg_writer.h"
#include "files/output_file.h"
#include "files/photo_metadata.h"

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
    PhotoMetadata metadata;  // what a JPEG or PNG file carries beside its pixels
    std::string notice;      // what the user should know of a picture loaded, or ""

    bool loaded() const { return outcome == Outcome::loaded; }
};

// What a load can tell before it reads the picture, from the file's ending and
// header alone: why it is refused (a file of another ending, or one whose
// original and adjusted picture would not both fit the memory this machine
// gives), or, when `refusal` is empty, how many pixels it will read.
struct LoadPlan {
    std::string refusal;
    long long pixels = 0;
    PictureFileKind kind = PictureFileKind::refused;
};
LoadPlan plan_load(const std::string& path);

// Reads a BMP or PNG file, or converts a JPEG file into a BMP file beside it
// (which the photo stands for from then on), as `plan_load(path)` planned it,
// with the metadata and colour profile of a JPEG or PNG file. Refuses what
// the plan refuses, and every file that cannot be read; metadata that cannot
// be read is dropped, with one line on standard error.
LoadedPicture load_picture(const std::string& path, const LoadPlan& plan);
inline LoadedPicture load_picture(const std::string& path) { return load_picture(path, plan_load(path)); }

// Reads a photo and its metadata for correcting it unseen: the same picture
// as `load_picture`, but a JPEG is decoded with no BMP file written beside
// it, one whose data ends early is refused ("the file is cut off"), and no
// conversion for the screen is built.
LoadedPicture read_photo_only(const std::string& path);

// Why no file can be saved at `path` (a folder, or a folder that does not
// exist), in words a user understands, or "" when one may be.
std::string save_refusal(const std::string& path);

struct SaveOptions {
    const PhotoMetadata* metadata = nullptr;  // written into a JPEG or PNG file; null: none
    int jpeg_quality = default_jpeg_quality;
};

// Writes `picture` as a JPEG, PNG or BMP file as the ending of `path` says
// (`kind_of_saved_file`), through a temporary file renamed over the target
// only when whole. Refuses what `save_refusal` refuses. A file saved without
// the metadata it should carry (exiv2 could not write it) is still saved, and
// `metadata_not_kept`, if given, says why.
FileResult save_picture(const Picture& picture, const std::string& path, const SaveOptions& options = {},
                        std::string* metadata_not_kept = nullptr);

// As `save_picture` for a JPEG file, whatever `path`'s ending, with the rows
// made as the encoder takes them, so the whole picture need never be held;
// but the file is left in `file`, written whole beside `path`. Its
// `commit()`, on any thread, waits for the disk and puts it in place;
// dropped uncommitted, it leaves nothing.
FileResult write_pending_jpeg(const PictureRows& rows, const std::string& path, const SaveOptions& options,
                              std::string* metadata_not_kept, std::unique_ptr<OutputFile>& file);

}  // namespace korven
