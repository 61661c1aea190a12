#pragma once
// What a window keeps of everything drawn on it: a screen-sized picture that
// survives uncovering and enlarging. Clearing is settled lazily: the copy that
// usually follows a clear fills only the part it does not cover itself, so a
// redraw costs one pass over the canvas instead of two. A whole picture copied
// one to one again at another place, with nothing drawn in between (a
// scroll), moves the pixels already on the canvas and copies only the rest.

#include <optional>

#include "core/pixel_ops.h"
#include "core/screen_conversion.h"

namespace korven {

class KeptCanvas {
public:
    void set_background(Colour colour) { background_ = colour; }

    // Grows to at least this size, keeping the drawing; new parts are background.
    void grow(int width, int height);

    void clear()
    {
        clear_pending_ = true;
        last_copy_.reset();
    }

    // The pixels, with any pending clear settled: to draw on, or to show.
    PictureView view();
    const Picture& pixels();

    // Copies one to one or stretched, turns the colours of what was copied
    // by `conversion` (if any), then settles a pending clear around them. A
    // whole `source` copied again must hold the same pixels as the last time
    // unless the canvas was cleared or drawn on in between.
    void copy(int x, int y, int width, int height, ConstPictureView source, int source_x, int source_y,
              const ScreenConversion* conversion = nullptr);
    void stretch(double x, double y, double width, double height, ConstPictureView source, double source_x,
                 double source_y, double source_width, double source_height,
                 const ScreenConversion* conversion = nullptr);

private:
    // The last one-to-one copy of a whole picture, while nothing has been drawn after it.
    struct WholeCopy {
        ConstPictureView source;
        const ScreenConversion* conversion = nullptr;
        int x = 0, y = 0;
        pixels::Area covered;
        bool same_picture(ConstPictureView other, const ScreenConversion* other_conversion) const
        {
            return source.pixels == other.pixels && source.width == other.width &&
                   source.height == other.height && source.stride == other.stride &&
                   conversion == other_conversion;
        }
    };

    pixels::Area copy_converted(int x, int y, int width, int height, ConstPictureView source, int source_x,
                                int source_y, const ScreenConversion* conversion);
    pixels::Area move_last_copy(int x, int y, ConstPictureView source);
    void finish_copy(const pixels::Area& covered, const ScreenConversion* conversion);
    void settle_clear_around(const pixels::Area& covered);

    Picture canvas_;
    Colour background_ = 0;
    bool clear_pending_ = false;
    std::optional<WholeCopy> last_copy_;
};

}  // namespace korven
