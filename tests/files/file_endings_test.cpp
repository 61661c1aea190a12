// Which endings loading accepts, and where a JPEG's BMP file goes.
#include <gtest/gtest.h>

#include "files/file_endings.h"

namespace korven {
namespace {

TEST(FileEndings, OnlyAllLowerOrAllUpperEndingsAreAccepted)
{
    EXPECT_EQ(kind_of_picture_file("/img/cat.bmp"), PictureFileKind::bmp);
    EXPECT_EQ(kind_of_picture_file("/img/cat.BMP"), PictureFileKind::bmp);
    EXPECT_EQ(kind_of_picture_file("/img/cat.jpg"), PictureFileKind::jpeg);
    EXPECT_EQ(kind_of_picture_file("/img/cat.JPG"), PictureFileKind::jpeg);
    EXPECT_EQ(kind_of_picture_file(".jpg"), PictureFileKind::jpeg);
    EXPECT_EQ(kind_of_picture_file("/img/cat.jpeg"), PictureFileKind::jpeg);
    EXPECT_EQ(kind_of_picture_file("/img/cat.JPEG"), PictureFileKind::jpeg);
    EXPECT_EQ(kind_of_picture_file("/img/cat.png"), PictureFileKind::png);
    EXPECT_EQ(kind_of_picture_file("/img/cat.PNG"), PictureFileKind::png);
    for (const char* refused : {"/img/cat.Bmp", "/img/cat.Jpg", "/img/cat.Jpeg", "/img/cat.Png", "/img/cat.jpe",
                                "/img/cat", "jpg", "", "/img/cat.bmp ", "/img/cat.jpg/"})
        EXPECT_EQ(kind_of_picture_file(refused), PictureFileKind::refused) << refused;
}

TEST(FileEndings, SavingWritesJpegAndPngForTheirEndingsAndBmpForEveryOtherName)
{
    for (const char* jpeg : {"a.jpg", "a.JPG", "a.jpeg", "a.JPEG"})
        EXPECT_EQ(kind_of_saved_file(jpeg), PictureFileKind::jpeg) << jpeg;
    EXPECT_EQ(kind_of_saved_file("a.png"), PictureFileKind::png);
    EXPECT_EQ(kind_of_saved_file("a.PNG"), PictureFileKind::png);
    for (const char* bmp : {"a.bmp", "a.Jpg", "a.Png", "a.pNG", "a", "a.tif", ""})
        EXPECT_EQ(kind_of_saved_file(bmp), PictureFileKind::bmp) << bmp;
}

TEST(FileEndings, JpegBecomesABmpFileBesideIt)
{
    EXPECT_EQ(bmp_path_for_jpeg("/img/cat.JPG"), "/img/cat.bmp");
    EXPECT_EQ(bmp_path_for_jpeg("/img/cat.jpg"), "/img/cat.bmp");
    EXPECT_EQ(bmp_path_for_jpeg("/a.b/c d.jpg"), "/a.b/c d.bmp");
    EXPECT_EQ(bmp_path_for_jpeg("/img/cat.jpeg"), "/img/cat.bmp");
    EXPECT_EQ(bmp_path_for_jpeg("/img/cat.JPEG"), "/img/cat.bmp");
}

}  // namespace
}  // namespace korven
