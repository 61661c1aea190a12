#pragma once
// What a photo's colour profile means for the screen: the conversion that
// shows its colours as sRGB, built with LittleCMS from the profile's bytes
// as the file held them.

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "core/screen_conversion.h"

namespace korven {

// The conversion to sRGB of colours described by `icc_profile`, or, with no
// profile, by Adobe RGB (1998) when the photo's EXIF says so. Null when the
// colours need none: no profile and no Adobe RGB, a profile that is sRGB
// (by its primaries, white and curves, whatever its name), a profile that
// cannot be read or is not RGB. Safe on any bytes, prints nothing, and may
// be called on several threads at once.
std::shared_ptr<const ScreenConversion> screen_conversion_for(std::span<const std::uint8_t> icc_profile,
                                                              bool exif_says_adobe_rgb);

// An ICC profile compatible with Adobe RGB (1998): D65 white, its primaries,
// gamma 563/256.
std::vector<std::uint8_t> adobe_rgb_profile_bytes();

}  // namespace korven
