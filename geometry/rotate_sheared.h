#pragma once
// Rotation of "Rotating": whole quarter turns done exactly, and a remaining
// tilt of at most 45 degrees done by two simultaneous shears that move rows
// and columns by whole pixels. Pixels are copied, never resampled; only the
// holes the two shears leave are filled, each with the mean of four pixels.

#include "geometry/kernel_path.h"
#include "core/picture.h"

namespace korven {

// An angle in degrees reduced to 0 <= angle < 360, in single precision. A
// whole number of turns gives 0, also when single precision rounds to 360.
float reduce_angle(double degrees);

// How a picture of a given size is turned by a given angle.
struct RotationPlan {
    int quarter_turns = 0;      // 0..3, clockwise on screen
    int turn_sign = 1;          // +1: the tilt is clockwise, -1: counter-clockwise
    float residual_angle = 0;   // the tilt, 0..45 degrees
    int row_tilt = 0;           // width x tan(tilt), rounded: how far a row falls over its length
    int column_tilt = 0;        // height x tan(tilt), rounded: how far a column leans over its height
    int frame_width = 0;        // width + column_tilt: the tilted picture
    int frame_height = 0;       // height + row_tilt

    // The size of the result, after the quarter turns.
    int width() const { return quarter_turns % 2 == 0 ? frame_width : frame_height; }
    int height() const { return quarter_turns % 2 == 0 ? frame_height : frame_width; }
};

// Splits `rotation_angle` (0 < angle < 360) into quarter turns and a tilt and
// works out the tilts for a `width` x `height` picture.
RotationPlan plan_rotation(float rotation_angle, int width, int height);

// Writes `source` turned by `plan` into `target`, which has the plan's result
// size and is black. Each source pixel is placed once; each hole between the
// shifted rows and lifted columns gets the mean of the four source pixels
// around it; every other target pixel is left as it is. With no tilt (90, 180
// and 270 degrees) the result is an exact turn. No write falls outside `target`.
void rotate_sheared(ConstPictureView source, PictureView target, const RotationPlan& plan,
                    CodePath path = CodePath::fastest);

}  // namespace korven
