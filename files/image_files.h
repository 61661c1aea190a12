#pragma once
// Picture files read and written with no window: BMP through our own codec,
// JPEG through libjpeg-turbo. Nothing here shows, asks or keeps anything, so
// any thread may call it.

#include <string>

#include "core/picture.h"
#include "files/file_result.h"
#include "files/output_file.h"

namespace fe {

using korven::FileResult;
using korven::Durability;

// Reads a BMP file. On failure `bitmap` is left exactly as it was.
FileResult load_file(korven::Picture& bitmap, const std::string& path);

// Writes a 24-bit BMP file through a temporary file beside it, renamed over
// it only when whole. A saved picture is on the disk before it replaces the
// file; a copy that can be made again (a JPEG's BMP file) need not wait.
FileResult save_file(const korven::Picture& bitmap, const std::string& path,
                     Durability durability = Durability::on_disk);

// What a JPEG whose data ends before its picture does gives: the picture with
// the rest filled in (as loading shows it), or a refusal (as a batch wants).
enum class CutOffJpeg { filled_in, refused };

// Decodes a JPEG file upright (its EXIF orientation applied). On failure
// `picture` is left as it was and the result says why.
FileResult read_jpeg(const std::string& path, korven::Picture& picture,
                     CutOffJpeg cut_off = CutOffJpeg::filled_in);

// The number of pixels of a JPEG file's picture, from its header; 0 if it
// has none that can be read.
long long jpeg_header_pixels(const std::string& path);

// The number of pixels of the picture in a BMP, JPEG or PNG file, from its
// header alone; 0 if the file is none of them or cannot be read.
long long picture_file_pixels(const std::string& path);

// The largest file the readers accept, so a huge file is refused before it is read.
constexpr long long largest_image_file = 2LL << 30;

}  // namespace fe
