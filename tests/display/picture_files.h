#pragma once
// Test pictures and files for the display tests: a temporary folder per test,
// pictures whose colours tell where each pixel came from, and a snapshot of
// everything a load may change.

#include <filesystem>
#include <string>
#include <vector>

#include "platform/form.h"
#include "tests/support/driver.h"

namespace korven::test {

// A picture whose pixel (x, y) has a colour of its own (for x, y below 4096).
Picture coordinate_picture(int width, int height);
// Where a pixel of `coordinate_picture` came from.
int column_of(Colour colour);
int row_of(Colour colour);

// The program started afresh, plus an empty folder removed after the test.
class DisplayTest : public ProgramTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A path in the test's folder.
    std::string path(const std::string& name) const;
    // Writes `picture` as a BMP file in the test's folder; returns its path.
    std::string write_bmp(const std::string& name, const Picture& picture) const;
    std::string write_bytes(const std::string& name, const std::vector<char>& bytes) const;
    // Copies a file of the shared test data into the test's folder.
    std::string copy_testdata(const std::string& relative, const std::string& name) const;
    // Chooses `file` with "LOAD".
    void load(const std::string& file);
    // Writes `picture` as a BMP file and loads it with "LOAD".
    void load_picture(const Picture& picture, const std::string& name = "picture.bmp");

private:
    std::filesystem::path folder_;
};

std::vector<char> file_bytes(const std::string& path);

// Everything loading may change, to show that a refused load changed nothing.
struct LoadState {
    std::vector<Picture> pictures;
    std::vector<int> sizes;
    std::vector<int> view;
    std::string file_path, file_title;
    std::vector<std::string> texts;
    std::vector<bool> states;
    std::string caption;
    std::vector<Colour> drawn;
    friend bool operator==(const LoadState&, const LoadState&) = default;
};
LoadState load_state();

}  // namespace korven::test
