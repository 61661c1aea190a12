#include "files/file_endings.h"

namespace korven {

namespace {

struct Ending {
    std::string_view lower, upper;
    PictureFileKind kind;
};

constexpr Ending endings[] = {
    {".bmp", ".BMP", PictureFileKind::bmp},
    {".jpg", ".JPG", PictureFileKind::jpeg},
    {".jpeg", ".JPEG", PictureFileKind::jpeg},
    {".png", ".PNG", PictureFileKind::png},
};

const Ending* ending_of(std::string_view path)
{
    for (const Ending& ending : endings)
        if (path.ends_with(ending.lower) || path.ends_with(ending.upper)) return &ending;
    return nullptr;
}

}  // namespace

PictureFileKind kind_of_picture_file(std::string_view path)
{
    const Ending* ending = ending_of(path);
    return ending ? ending->kind : PictureFileKind::refused;
}

PictureFileKind kind_of_saved_file(std::string_view path)
{
    const PictureFileKind kind = kind_of_picture_file(path);
    return kind == PictureFileKind::refused ? PictureFileKind::bmp : kind;
}

std::string bmp_path_for_jpeg(std::string_view jpeg_path)
{
    const Ending* ending = ending_of(jpeg_path);
    const std::size_t keep = jpeg_path.size() - (ending ? ending->lower.size() : 0);
    return std::string(jpeg_path.substr(0, keep)) + ".bmp";
}

}  // namespace korven
