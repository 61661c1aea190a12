#pragma once
// The 6000 x 4000 JPEG of quality 90 that loading is measured on, and that
// the libjpeg-turbo baseline decodes.

#include <filesystem>

namespace korven::bench {

// Where benchmarks keep their files: a folder of this run alone.
std::filesystem::path scratch_folder();

// The photo-like JPEG (smooth gradients with fine texture), written where it
// is missing; empty if it cannot be written. Benchmarks remove it when done.
std::filesystem::path large_jpeg();

}  // namespace korven::bench
