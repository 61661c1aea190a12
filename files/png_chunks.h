#pragma once
// Chunks put into a PNG file's bytes as they are, without libpng judging
// their contents: a photo's colour profile and EXIF go into every PNG saved
// of it exactly as they came.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace korven {

// A four-byte number as PNG stores it, most significant byte first.
inline std::uint32_t png_u32(const std::uint8_t* at)
{
    return (std::uint32_t{at[0]} << 24) | (std::uint32_t{at[1]} << 16) | (std::uint32_t{at[2]} << 8) | at[3];
}

// Puts a chunk of `type` holding `data` before the first IDAT chunk of the
// PNG `file`; false, with `file` as it was, when it has none.
bool insert_chunk_before_pixels(std::vector<std::uint8_t>& file, std::string_view type,
                                std::span<const std::uint8_t> data);

// The data of an iCCP chunk holding `profile`: its name, compression method
// 0 and the profile compressed with zlib; empty when it cannot be made.
std::vector<std::uint8_t> icc_chunk_data(std::span<const std::uint8_t> profile);

}  // namespace korven
