#pragma once
// Where the public BMP test suite lives, and reading its files whole.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace korven::test {

inline std::filesystem::path bmp_suite_folder()
{
    return std::filesystem::path(KORVEN_TEST_DATA) / "bmpsuite";
}

inline std::vector<std::uint8_t> read_whole_file(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace korven::test
