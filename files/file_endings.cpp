#include "files/file_endings.h"

#include <algorithm>
#include <cctype>

namespace korven {

PictureFileKind kind_of_picture_file(std::string_view path)
{
    if (path.size() < 4) return PictureFileKind::refused;
    const std::string_view ending = path.substr(path.size() - 4);
    if (ending == ".bmp" || ending == ".BMP") return PictureFileKind::bmp;
    if (ending == ".jpg" || ending == ".JPG") return PictureFileKind::jpeg;
    return PictureFileKind::refused;
}

std::string bmp_path_for_jpeg(std::string_view jpeg_path)
{
    const std::size_t keep = jpeg_path.size() < 4 ? 0 : jpeg_path.size() - 4;
    return std::string(jpeg_path.substr(0, keep)) + ".bmp";
}

bool is_png_path(std::string_view path)
{
    constexpr std::string_view png = ".png";
    return path.size() >= png.size() &&
           std::ranges::equal(path.substr(path.size() - png.size()), png,
                              [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}

}  // namespace korven
