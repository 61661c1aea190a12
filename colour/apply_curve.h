#pragma once
// The two ways DRAW applies a level table to the original picture.

#include <array>
#include <cstdint>
#include <vector>

#include "colour/level_table.h"
#include "core/code_path.h"
#include "core/picture.h"

namespace korven {

// The paths of both passes this processor runs, fastest first; `portable` is
// always there. The AVX-512 path needs VBMI as well.
std::vector<CodePath> curve_paths_here();

// Rewrites every pixel of `adjusted` from `original` through an "All" table,
// keeping the ratios between the channels and moving their mean to the
// table's level for the pixel's channel sum. Black becomes the grey of slot 0.
// A scaled channel past 255 pulls all three toward the mean until the largest
// is exactly 255. Table levels are expected in 0..255 (outside values are
// taken as the nearest end). Only the area both pictures share is written;
// they are different pictures.
void apply_all_channels(ConstPictureView original, PictureView adjusted,
                        const LevelTable& table, CodePath path = CodePath::fastest);

// Writes every pixel of `adjusted` as the pixel of `previous` (the adjusted
// picture before this pass) with channel `channel` (0 red, 1 green, 2 blue)
// replaced by the single-channel table's level for that channel of
// `original`; the other two channels stay, so passes on different channels
// accumulate. Only the area all three share is written. `previous` may be
// `adjusted` itself; `original` is another picture than `adjusted`.
void apply_one_channel(ConstPictureView original, ConstPictureView previous, PictureView adjusted,
                       const LevelTable& table, int channel, CodePath path = CodePath::fastest);

}  // namespace korven
