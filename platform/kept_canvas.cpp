#include "platform/kept_canvas.h"

#include <algorithm>
#include <utility>

namespace korven {

void KeptCanvas::grow(int width, int height)
{
    if (width <= canvas_.width() && height <= canvas_.height()) return;
    Picture larger(std::max(width, canvas_.width()), std::max(height, canvas_.height()));
    pixels::fill_rect(larger.view(), 0, 0, larger.width(), larger.height(), background_);
    pixels::copy_rect(larger.view(), 0, 0, canvas_.width(), canvas_.height(), canvas_.view(), 0, 0);
    canvas_ = std::move(larger);
}

PictureView KeptCanvas::view()
{
    settle_clear_around({});
    return canvas_.view();
}

const Picture& KeptCanvas::pixels()
{
    settle_clear_around({});
    return canvas_;
}

void KeptCanvas::copy(int x, int y, int width, int height, ConstPictureView source, int source_x, int source_y)
{
    settle_clear_around(pixels::copy_rect(canvas_.view(), x, y, width, height, source, source_x, source_y));
}

void KeptCanvas::stretch(double x, double y, double width, double height, ConstPictureView source,
                         double source_x, double source_y, double source_width, double source_height)
{
    settle_clear_around(pixels::stretch_rect(canvas_.view(), x, y, width, height, source, source_x, source_y,
                                             source_width, source_height));
}

void KeptCanvas::settle_clear_around(const pixels::Area& covered)
{
    if (!clear_pending_) return;
    clear_pending_ = false;
    const PictureView all = canvas_.view();
    if (covered.empty()) {
        pixels::fill_rect(all, 0, 0, all.width, all.height, background_);
        return;
    }
    // The bands above and below the covered block, then its left and right.
    pixels::fill_rect(all, 0, 0, all.width, covered.y, background_);
    pixels::fill_rect(all, 0, covered.y + covered.height, all.width, all.height, background_);
    pixels::fill_rect(all, 0, covered.y, covered.x, covered.height, background_);
    pixels::fill_rect(all, covered.x + covered.width, covered.y, all.width, covered.height, background_);
}

}  // namespace korven
