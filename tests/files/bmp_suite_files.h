#pragma once
// Where the public BMP test suite lives, and reading its files whole.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <utility>
#include <vector>

#include "files/bmp_format.h"

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

// A file in memory read piece by piece, as the program reads files from disk.
// Reads past `readable` bytes fail, like a file cut short while being read.
class FileInMemory final : public bmp::FileReader {
public:
    explicit FileInMemory(std::vector<std::uint8_t> bytes, std::size_t readable = SIZE_MAX)
        : bytes_(std::move(bytes)), readable_(std::min(readable, bytes_.size()))
    {
    }
    std::uint64_t size() const override { return bytes_.size(); }
    bool read(std::uint64_t offset, std::size_t length, std::uint8_t* to) override
    {
        if (offset > readable_ || length > readable_ - offset) return false;
        if (length > 0) std::memcpy(to, bytes_.data() + offset, length);
        return true;
    }

private:
    std::vector<std::uint8_t> bytes_;
    std::size_t readable_;
};

}  // namespace korven::test
