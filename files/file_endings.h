#pragma once
// Which files loading accepts and which format saving writes, both told by
// the ending of the path. One rule serves both: an ending counts in all lower
// or all upper case, never mixed.

#include <string>
#include <string_view>

namespace korven {

enum class PictureFileKind { bmp, jpeg, png, refused };

// ".bmp"/".BMP" are BMP files, ".jpg"/".JPG"/".jpeg"/".JPEG" JPEG files and
// ".png"/".PNG" PNG files; ".Bmp", ".Jpg" and every other ending are refused.
PictureFileKind kind_of_picture_file(std::string_view path);

// The format a save writes: JPEG or PNG for their endings, BMP for every other name.
PictureFileKind kind_of_saved_file(std::string_view path);

// The BMP file a JPEG file is converted into: its ending becomes ".bmp".
std::string bmp_path_for_jpeg(std::string_view jpeg_path);

// Told to the user when a file's ending is refused.
inline constexpr std::string_view accepted_endings = ".bmp, .BMP, .jpg, .JPG, .jpeg, .JPEG, .png or .PNG";

}  // namespace korven
