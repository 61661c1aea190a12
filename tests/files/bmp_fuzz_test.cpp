// Damaged copies of the suite's files: cut off anywhere, or with bits flipped
// in the headers and the data. The reader must answer every one without a
// crash, a hang or a sanitizer report, and never build a picture larger
// than its data can describe.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "files/bmp_format.h"
#include "tests/files/bmp_suite_files.h"

namespace fs = std::filesystem;
using namespace korven;

namespace {

std::vector<std::vector<std::uint8_t>> suite_files()
{
    std::vector<fs::path> paths;
    for (const char* folder : {"g", "q", "b"})
        for (const auto& entry : fs::directory_iterator(test::bmp_suite_folder() / folder))
            if (entry.path().extension() == ".bmp") paths.push_back(entry.path());
    std::sort(paths.begin(), paths.end());
    std::vector<std::vector<std::uint8_t>> files;
    for (const auto& path : paths) {
        files.push_back(test::read_whole_file(path));
    }
    return files;
}

// An answer is sound when it is a refusal with a reason and no picture, or a
// picture no larger than 256 pixels per byte of file (what RLE can reach).
// Reading the file piece by piece gives the same answer.
::testing::AssertionResult sound(const std::vector<std::uint8_t>& file)
{
    const auto result = bmp::decode(file);
    test::FileInMemory pieces(file);
    const auto read = bmp::decode(pieces);
    if (read.error != result.error || read.picture != result.picture)
        return ::testing::AssertionFailure() << "read in pieces: " << read.error << " instead of "
                                             << result.error;
    if (!result.ok()) {
        if (!result.picture.empty())
            return ::testing::AssertionFailure() << "refused with a picture";
        return ::testing::AssertionSuccess();
    }
    const auto& p = result.picture;
    if (p.empty() || p.width() > 32767 || p.height() > 32767 ||
        p.pixels().size() > 256 * file.size())
        return ::testing::AssertionFailure() << "picture of " << p.width() << " x " << p.height();
    return ::testing::AssertionSuccess();
}

}  // namespace

TEST(BmpFuzz, CutOffCopiesAreAnsweredSoundly)
{
    std::mt19937 random(1);
    const auto files = suite_files();
    ASSERT_EQ(files.size(), 88u);
    for (const auto& file : files) {
        ASSERT_TRUE(sound(file));
        for (int i = 0; i < 12; ++i) {
            const std::size_t length = i < 4 ? i * 20 : random() % file.size();
            const std::vector<std::uint8_t> cut(file.begin(), file.begin() + length);
            ASSERT_TRUE(sound(cut)) << "cut to " << length;
        }
    }
}

TEST(BmpFuzz, CopiesWithFlippedBitsAreAnsweredSoundly)
{
    std::mt19937 random(2);
    const auto files = suite_files();
    for (const auto& file : files)
        for (int i = 0; i < 40; ++i) {
            auto damaged = file;
            const int flips = 1 + static_cast<int>(random() % 4);
            for (int f = 0; f < flips; ++f) {
                // Half the flips land in the headers, where they do most harm.
                const std::size_t span =
                    i % 2 ? damaged.size() : std::min<std::size_t>(damaged.size(), 140);
                damaged[random() % span] ^= static_cast<std::uint8_t>(1u << (random() % 8));
            }
            ASSERT_TRUE(sound(damaged)) << "case " << i;
        }
}
