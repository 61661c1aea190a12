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

TEST(CommandLine, AnythingElseIsAOneLineErrorEndingWithTwo)
{
    for (const auto& wrong : {std::vector<std::string>{"--bogus"}, {"-platform", "offscreen"},
                              {"a.bmp", "b.bmp"}}) {
        const CommandLine error = read(wrong);
        EXPECT_FALSE(error.run) << wrong[0];
        EXPECT_EQ(error.exit_code, 2) << wrong[0];
        EXPECT_EQ(error.text.rfind("korven: ", 0), 0u) << error.text;
        EXPECT_EQ(std::count(error.text.begin(), error.text.end(), '\n'), 1) << error.text;
    }
}

}  // namespace
}  // namespace fe
