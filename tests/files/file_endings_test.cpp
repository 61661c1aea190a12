// Which endings loading accepts, and where a JPEG's BMP file goes.
#include <gtest/gtest.h>

#include "files/file_endings.h"

namespace korven {
namespace {

TEST(FileEndings, OnlyTheFourExactEndingsAreAccepted)
{
    EXPECT_EQ(kind_of_picture_file("/img/cat.bmp"), PictureFileKind::bmp);
    EXPECT_EQ(kind_of_picture_file("/img/cat.BMP"), PictureFileKind::bmp);
    EXPECT_EQ(kind_of_picture_file("/img/cat.jpg"), PictureFileKind::jpeg);
    EXPECT_EQ(kind_of_picture_file("/img/cat.JPG"), PictureFileKind::jpeg);
    EXPECT_EQ(kind_of_picture_file(".jpg"), PictureFileKind::jpeg);
    for (const char* refused : {"/img/cat.Bmp", "/img/cat.Jpg", "/img/cat.jpeg", "/img/cat.png", "/img/cat",
                                "jpg", "", "/img/cat.bmp ", "/img/cat.jpg/"})
        EXPECT_EQ(kind_of_picture_file(refused), PictureFileKind::refused) << refused;
}

TEST(FileEndings, JpegBecomesABmpFileBesideIt)
{
    EXPECT_EQ(bmp_path_for_jpeg("/img/cat.JPG"), "/img/cat.bmp");
    EXPECT_EQ(bmp_path_for_jpeg("/img/cat.jpg"), "/img/cat.bmp");
    EXPECT_EQ(bmp_path_for_jpeg("/a.b/c d.jpg"), "/a.b/c d.bmp");
}

}  // namespace
}  // namespace korven
