#include "files/png_chunks.h"

#include <zlib.h>

#include <cstring>

namespace korven {

namespace {

void append_big_endian_u32(std::vector<std::uint8_t>& bytes, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}

}  // namespace

bool insert_chunk_before_pixels(std::vector<std::uint8_t>& file, std::string_view type,
                                std::span<const std::uint8_t> data)
{
    constexpr std::size_t signature = 8, chunk_frame = 12;  // length, type and CRC around the data
    std::size_t at = signature;
    while (at + chunk_frame <= file.size() && std::memcmp(&file[at + 4], "IDAT", 4) != 0)
        at += chunk_frame + png_u32(&file[at]);
    if (at + chunk_frame > file.size() || type.size() != 4) return false;
    std::vector<std::uint8_t> chunk;
    append_big_endian_u32(chunk, static_cast<std::uint32_t>(data.size()));
    chunk.insert(chunk.end(), type.begin(), type.end());
    chunk.insert(chunk.end(), data.begin(), data.end());
    const uLong crc = crc32(crc32(0, nullptr, 0), chunk.data() + 4, static_cast<uInt>(chunk.size() - 4));
    append_big_endian_u32(chunk, static_cast<std::uint32_t>(crc));
    file.insert(file.begin() + static_cast<std::ptrdiff_t>(at), chunk.begin(), chunk.end());
    return true;
}

std::vector<std::uint8_t> icc_chunk_data(std::span<const std::uint8_t> profile)
{
    constexpr char name[] = "ICC profile";  // with its terminating zero, then method 0
    std::vector<std::uint8_t> data(name, name + sizeof name);
    data.push_back(0);
    uLongf packed_size = compressBound(static_cast<uLong>(profile.size()));
    const std::size_t start = data.size();
    data.resize(start + packed_size);
    if (compress2(data.data() + start, &packed_size, profile.data(), static_cast<uLong>(profile.size()),
                  Z_BEST_COMPRESSION) != Z_OK)
        return {};
    data.resize(start + packed_size);
    return data;
}

}  // namespace korven
