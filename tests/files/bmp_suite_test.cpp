// The BMP reader against the public BMP test suite. The folders are read at
// run time, so a file dropped into g/, q/ or b/ is tested too.

#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>

#include "files/bmp_format.h"
#include "tests/files/bmp_suite_files.h"

namespace fs = std::filesystem;
using namespace korven;

namespace {

std::vector<fs::path> bmp_files(const std::string& folder)
{
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(test::bmp_suite_folder() / folder))
        if (entry.path().extension() == ".bmp") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

// "g/pal1.bmp" -> the reference pictures named for it (any one may match).
std::map<std::string, std::vector<fs::path>> references()
{
    std::map<std::string, std::vector<fs::path>> table;
    std::ifstream in(test::bmp_suite_folder() / "REFERENCES.tsv");
    std::string line;
    std::getline(in, line);  // column names
    while (std::getline(in, line)) {
        const auto tab = line.find('\t');
        if (tab == std::string::npos) continue;
        std::stringstream names(line.substr(tab + 1));
        std::string name;
        auto& refs = table[line.substr(0, tab)];
        while (std::getline(names, name, ','))
            if (!name.empty()) refs.push_back(test::bmp_suite_folder() / name);
    }
    return table;
}

std::string key_of(const fs::path& file)
{
    return file.parent_path().filename().string() + "/" + file.filename().string();
}

// The reference laid onto black, like our pictures without alpha. Read at 16
// bits per channel so the three 16-bit references keep their precision.
Picture flattened_reference(const fs::path& png)
{
    QImage image(QString::fromStdString(png.string()));
    if (image.isNull()) return {};
    image = image.convertToFormat(QImage::Format_RGBA64);
    Picture picture(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y) {
        const auto* src = reinterpret_cast<const std::uint16_t*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x, src += 4) {
            const double alpha = src[3] / 65535.0;
            const auto level = [&](std::uint16_t c) {
                return static_cast<int>(std::floor(c / 65535.0 * alpha * 255 + 0.5));
            };
            picture.at(x, y) = rgb(level(src[0]), level(src[1]), level(src[2]));
        }
    }
    return picture;
}

// Largest channel difference, or -1 when the sizes differ.
int largest_difference(const Picture& a, const Picture& b)
{
    if (a.width() != b.width() || a.height() != b.height()) return -1;
    int largest = 0;
    for (std::size_t i = 0; i < a.pixels().size(); ++i) {
        const Colour p = a.pixels()[i], q = b.pixels()[i];
        largest = std::max({largest, std::abs(red_of(p) - red_of(q)),
                            std::abs(green_of(p) - green_of(q)),
                            std::abs(blue_of(p) - blue_of(q))});
    }
    return largest;
}

// True when the picture equals one of the file's references within one level.
::testing::AssertionResult matches_a_reference(const std::string& key, const Picture& picture)
{
    const auto refs = references();
    const auto found = refs.find(key);
    if (found == refs.end() || found->second.empty())
        return ::testing::AssertionFailure() << key << " has no reference picture";
    std::string seen;
    for (const auto& png : found->second) {
        const int difference = largest_difference(picture, flattened_reference(png));
        if (difference >= 0 && difference <= 1) return ::testing::AssertionSuccess();
        seen += " " + png.filename().string() + ":" +
                (difference < 0 ? "size differs" : std::to_string(difference) + " levels off");
    }
    return ::testing::AssertionFailure() << key << " matches no reference:" << seen;
}

bool has_reference(const std::string& key)
{
    const auto refs = references();
    const auto found = refs.find(key);
    return found != refs.end() && !found->second.empty();
}

// A suite file decoded, with a line saying what became of it.
auto decoded_and_reported(const fs::path& file)
{
    auto result = bmp::decode(test::read_whole_file(file));
    std::cout << "  " << key_of(file) << ": " << (result.ok() ? "decoded" : "refused, " + result.error) << "\n";
    return result;
}

}  // namespace

TEST(BmpSuite, EveryGoodFileEqualsItsReference)
{
    const auto files = bmp_files("g");
    ASSERT_EQ(files.size(), 27u);
    for (const auto& file : files) {
        const auto key = key_of(file);
        const auto result = bmp::decode(test::read_whole_file(file));
        ASSERT_TRUE(result.ok()) << key << ": " << result.error;
        EXPECT_TRUE(matches_a_reference(key, result.picture));
    }
}

// Unusual files decode correctly or are refused with a reason. The refusals
// are pinned (Huffman coding, embedded JPEG and PNG), so a regression that refuses a readable file shows up; a new
// unreadable file is added here.
TEST(BmpSuite, QuestionableFilesDecodeCorrectlyOrAreRefused)
{
    const std::set<std::string> refused = {"q/pal1huffmsb.bmp", "q/rgb24jpeg.bmp",
                                           "q/rgb24png.bmp"};
    const auto files = bmp_files("q");
    ASSERT_EQ(files.size(), 41u);
    for (const auto& file : files) {
        const auto key = key_of(file);
        const auto result = decoded_and_reported(file);
        if (!result.ok()) {
            EXPECT_FALSE(result.error.empty());
            EXPECT_TRUE(refused.count(key)) << key << " was refused: " << result.error;
            EXPECT_TRUE(result.picture.empty()) << key;
            continue;
        }
        EXPECT_FALSE(refused.count(key)) << key << " decoded, but was expected to be refused";
        if (has_reference(key)) {
            EXPECT_TRUE(matches_a_reference(key, result.picture));
        }
    }
}

// Broken files are refused, except where the damage is in a field the
// reader does not need (densities, the file and image size fields); those
// decode as the header describes.
TEST(BmpSuite, BadFilesAreRefusedUnlessTheDamageIsHarmless)
{
    const std::set<std::string> harmless = {"b/baddens1.bmp", "b/baddens2.bmp",
                                            "b/badfilesize.bmp", "b/badbitssize.bmp",
                                            "b/rgb16-880.bmp"};
    const auto pal1 = bmp::decode(test::read_whole_file(test::bmp_suite_folder() / "g/pal1.bmp"));
    ASSERT_TRUE(pal1.ok());
    const auto files = bmp_files("b");
    ASSERT_EQ(files.size(), 20u);
    for (const auto& file : files) {
        const auto key = key_of(file);
        const auto result = decoded_and_reported(file);
        if (harmless.count(key)) {
            ASSERT_TRUE(result.ok()) << key << ": " << result.error;
            if (has_reference(key)) {
                EXPECT_TRUE(matches_a_reference(key, result.picture));
            } else {
                EXPECT_EQ(result.picture, pal1.picture) << key;  // damaged copies of pal1
            }
        } else {
            EXPECT_FALSE(result.ok()) << key << " was decoded";
            EXPECT_TRUE(result.picture.empty()) << key;
        }
    }
}

TEST(BmpSuite, CutOffAndGiantFilesAreRefusedByTheirHeaders)
{
    const auto giant = bmp::decode(test::read_whole_file(test::bmp_suite_folder() / "b/reallybig.bmp"));
    EXPECT_NE(giant.error.find("32767"), std::string::npos) << giant.error;
    const auto cut = bmp::decode(test::read_whole_file(test::bmp_suite_folder() / "b/shortfile.bmp"));
    EXPECT_NE(cut.error.find("cut off"), std::string::npos) << cut.error;
}
