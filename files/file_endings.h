#pragma once
// Which files loading accepts, told by the last four characters of the path.

#include <string>
#include <string_view>

namespace korven {

enum class PictureFileKind { bmp, jpeg, refused };

// ".bmp" and ".BMP" are BMP files, ".jpg" and ".JPG" JPEG files, compared
// exactly: ".Bmp", ".Jpg", ".jpeg" and everything else are refused.
PictureFileKind kind_of_picture_file(std::string_view path);

// The BMP file a JPEG file is converted into: its last four characters become ".bmp".
std::string bmp_path_for_jpeg(std::string_view jpeg_path);

// True when the path ends in ".png" in any case: saved as a PNG file.
bool is_png_path(std::string_view path);

// Told to the user when a file's ending is refused.
inline constexpr std::string_view accepted_endings = ".bmp, .BMP, .jpg or .JPG";

}  // namespace korven
