#pragma once
// BMP files in memory: decoding every common variant into a picture, and
// encoding a picture as a plain 24-bit BMP that every reader opens.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "core/picture.h"

namespace korven::bmp {

struct DecodeResult {
    Picture picture;
    std::string error;  // empty on success: why the file was refused otherwise
    bool ok() const { return error.empty(); }
};

// Decodes a whole BMP file. Refuses, with a short reason, anything it cannot
// read faithfully (truncated, corrupt, unsupported, a side over 32767); checks
// the header's promises against the data before allocating.
// Reads 1, 2, 4 and 8-bit palettes, RLE4, RLE8 and RLE24, 16 and 32-bit bit
// fields (channels stretched to 8 bits), 24 and 64-bit pixels, the 12, 16, 40,
// 52, 56, 64, 108 and 124-byte headers and top-down rows. Alpha is laid onto
// black; pixels an RLE stream skips stay black, and RLE4/RLE8 runs that cover
// a row's padding are cut at the row's end. Refused: a palette index past
// the palette, Huffman coding, embedded JPEG or PNG, a colour profile that is
// not sRGB.
DecodeResult decode(std::span<const std::uint8_t> file);

// The number of pixels (width x height) the header at the start of a BMP
// file states, read from its first 154 bytes; 0 if they are no BMP header.
std::int64_t header_pixels(std::span<const std::uint8_t> start);

// A file to decode: its size, and its bytes at any offset.
class FileReader {
public:
    virtual std::uint64_t size() const = 0;
    // Reads `length` bytes at `offset` into `to`; false if they cannot all be read.
    virtual bool read(std::uint64_t offset, std::size_t length, std::uint8_t* to) = 0;

protected:
    ~FileReader() = default;
};

// The same as decoding the file's bytes, read through `file`: the rows of an
// uncompressed picture are converted as they are read, a few at a time, so
// the whole file is never held in memory; other files are read whole.
// "the file cannot be read" when a read fails.
DecodeResult decode(FileReader& file);

// A 24-bit, bottom-up BMP with a 40-byte info header.
std::vector<std::uint8_t> encode(ConstPictureView picture);

// The same file handed to `sink` a piece at a time (the headers, then a few
// hundred kilobytes of rows at a time), so the whole file is never held in
// memory. Stops, returning false, as soon as the sink returns false.
using ByteSink = std::function<bool(std::span<const std::uint8_t>)>;
bool write(ConstPictureView picture, const ByteSink& sink);

}  // namespace korven::bmp
