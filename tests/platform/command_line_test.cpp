// The command line: the file it starts with, and what it prints and ends with.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/command_line.h"

namespace fe {
namespace {

CommandLine read(std::vector<std::string> arguments)
{
    arguments.insert(arguments.begin(), "/usr/bin/korven");
    return read_command_line(arguments, "1.2.3");
}

TEST(CommandLine, StartsWithAtMostOneFileGivenAsAnAbsolutePath)
{
    EXPECT_TRUE(read({}).run);
    EXPECT_EQ(read({}).file, "");
    const CommandLine photo = read({"photo[1].JPG"});
    EXPECT_TRUE(photo.run);
    EXPECT_EQ(photo.file, (std::filesystem::current_path() / "photo[1].JPG").string());
    EXPECT_EQ(read({"--", "-odd.bmp"}).file, (std::filesystem::current_path() / "-odd.bmp").string());
    EXPECT_EQ(read({"/tmp/a.bmp"}).file, "/tmp/a.bmp");
}

TEST(CommandLine, HelpAndVersionPrintAndEndWell)
{
    const CommandLine version = read({"--version"});
    EXPECT_FALSE(version.run);
    EXPECT_EQ(version.exit_code, 0);
    EXPECT_EQ(version.text, "korven 1.2.3\n");
    EXPECT_EQ(read({"-v"}).text, version.text);
    const CommandLine help = read({"photo.bmp", "--help"});
    EXPECT_FALSE(help.run);
    EXPECT_EQ(help.exit_code, 0);
    EXPECT_EQ(help.text.rfind("Usage: korven [options] [file]\n", 0), 0u) << help.text;
    EXPECT_NE(help.text.find("--version"), std::string::npos);
    EXPECT_EQ(help.text.find("help-all"), std::string::npos);  // no toolkit options here
}

TEST(CommandLine, ApplyTakesACurveItsOptionsAndEveryPhoto)
{
    const CommandLine plain = read({"--apply", "warm.kcurve", "a.jpg", "b.png"});
    ASSERT_TRUE(plain.batch);
    EXPECT_EQ(plain.batch->curve_file, "warm.kcurve");
    EXPECT_EQ(plain.batch->photos, (std::vector<std::string>{"a.jpg", "b.png"}));
    EXPECT_EQ(plain.batch->quality, 92);
    EXPECT_EQ(plain.batch->jobs, 0);
    EXPECT_FALSE(plain.batch->overwrite);
    const CommandLine all = read({"--apply=c", "--out", "done", "--quality", "75", "--overwrite", "--jobs", "3", "x.bmp"});
    ASSERT_TRUE(all.batch);
    EXPECT_EQ(all.batch->out_folder, "done");
    EXPECT_EQ(all.batch->quality, 75);
    EXPECT_EQ(all.batch->jobs, 3);
    EXPECT_TRUE(all.batch->overwrite);
    EXPECT_NE(read({"--help"}).text.find("--apply"), std::string::npos);
}

TEST(CommandLine, AnythingElseIsAOneLineErrorEndingWithTwo)
{
    for (const auto& wrong : {std::vector<std::string>{"--bogus"}, {"-platform", "offscreen"},
                              {"a.bmp", "b.bmp"}, {"--apply", "c.kcurve"}, {"--out", "d", "a.bmp"},
                              {"--apply", "c", "--quality", "101", "a.bmp"}, {"--apply", "c", "--jobs", "x", "a.bmp"}}) {
        const CommandLine error = read(wrong);
        EXPECT_FALSE(error.run) << wrong[0];
        EXPECT_EQ(error.exit_code, 2) << wrong[0];
        EXPECT_EQ(error.text.rfind("korven: ", 0), 0u) << error.text;
        EXPECT_EQ(std::count(error.text.begin(), error.text.end(), '\n'), 1) << error.text;
    }
}

}  // namespace
}  // namespace fe
