#include "platform/kept_canvas.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

namespace korven {

namespace {

pixels::Area intersection(const pixels::Area& a, const pixels::Area& b)
{
    const int left = std::max(a.x, b.x), top = std::max(a.y, b.y);
    const int right = std::min(a.x + a.width, b.x + b.width), bottom = std::min(a.y + a.height, b.y + b.height);
    if (right <= left || bottom <= top) return {};
    return {left, top, right - left, bottom - top};
}

// The parts of `outer` around `inner` (which lies inside it): the bands above
// and below, then to the left and right of it.
std::array<pixels::Area, 4> bands_around(const pixels::Area& outer, const pixels::Area& inner)
{
    const int inner_bottom = inner.y + inner.height, inner_right = inner.x + inner.width;
    return {{{outer.x, outer.y, outer.width, inner.y - outer.y},
             {outer.x, inner_bottom, outer.width, outer.y + outer.height - inner_bottom},
             {outer.x, inner.y, inner.x - outer.x, inner.height},
             {inner_right, inner.y, outer.x + outer.width - inner_right, inner.height}}};
}

void convert_area(PictureView all, const pixels::Area& area, const ScreenConversion* conversion)
{
    if (!conversion || area.empty()) return;
    conversion->convert({all.row(area.y) + area.x, area.width, area.height, all.stride});
}

}  // namespace

void KeptCanvas::grow(int width, int height)
{
    if (width <= canvas_.width() && height <= canvas_.height()) return;
    Picture larger(std::max(width, canvas_.width()), std::max(height, canvas_.height()));
    pixels::fill_rect(larger.view(), 0, 0, larger.width(), larger.height(), background_);
    pixels::copy_rect(larger.view(), 0, 0, canvas_.width(), canvas_.height(), canvas_.view(), 0, 0);
    canvas_ = std::move(larger);
    last_copy_.reset();
}

PictureView KeptCanvas::view()
{
    settle_clear_around({});
    last_copy_.reset();  // what is drawn on it now lies over the last copy
    return canvas_.view();
}

const Picture& KeptCanvas::pixels()
{
    settle_clear_around({});
    return canvas_;
}

void KeptCanvas::copy(int x, int y, int width, int height, ConstPictureView source, int source_x, int source_y,
                      const ScreenConversion* conversion)
{
    const bool whole = source_x == 0 && source_y == 0 && width == source.width && height == source.height;
    const bool moved = whole && !clear_pending_ && last_copy_ && last_copy_->same_picture(source, conversion);
    const pixels::Area covered = moved ? move_last_copy(x, y, source)
                                       : copy_converted(x, y, width, height, source, source_x, source_y, conversion);
    settle_clear_around(covered);
    if (whole) last_copy_ = WholeCopy{source, conversion, x, y, covered};
    else last_copy_.reset();
}

void KeptCanvas::stretch(double x, double y, double width, double height, ConstPictureView source,
                         double source_x, double source_y, double source_width, double source_height,
                         const ScreenConversion* conversion)
{
    const pixels::Area covered = pixels::stretch_rect(canvas_.view(), x, y, width, height, source, source_x,
                                                      source_y, source_width, source_height);
    convert_area(canvas_.view(), covered, conversion);
    settle_clear_around(covered);
    last_copy_.reset();
}

pixels::Area KeptCanvas::copy_converted(int x, int y, int width, int height, ConstPictureView source,
                                        int source_x, int source_y, const ScreenConversion* conversion)
{
    const pixels::Area covered = pixels::copy_rect(canvas_.view(), x, y, width, height, source, source_x, source_y);
    convert_area(canvas_.view(), covered, conversion);
    return covered;
}

// The whole picture again at (x, y): the part of it on the canvas already
// moves there, and only the rest is copied (and converted).
pixels::Area KeptCanvas::move_last_copy(int x, int y, ConstPictureView source)
{
    const WholeCopy last = *last_copy_;
    const PictureView all = canvas_.view();
    const pixels::Area target = intersection({x, y, source.width, source.height}, {0, 0, all.width, all.height});
    // Canvas point p is now to show what p + (dx, dy) shows.
    const int dx = last.x - x, dy = last.y - y;
    const pixels::Area kept = intersection(
        target, {last.covered.x - dx, last.covered.y - dy, last.covered.width, last.covered.height});
    if (kept.empty()) return copy_converted(x, y, source.width, source.height, source, 0, 0, last.conversion);
    // Each row is read before a move overwrites it.
    for (int i = 0; i < kept.height; ++i) {
        const int row = dy >= 0 ? kept.y + i : kept.y + kept.height - 1 - i;
        std::memmove(all.row(row) + kept.x, all.row(row + dy) + kept.x + dx,
                     static_cast<std::size_t>(kept.width) * sizeof(Colour));
    }
    for (const pixels::Area& band : bands_around(target, kept))
        if (!band.empty())
            copy_converted(band.x, band.y, band.width, band.height, source, band.x - x, band.y - y,
                           last.conversion);
    return target;
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
    for (const pixels::Area& band : bands_around({0, 0, all.width, all.height}, covered))
        pixels::fill_rect(all, band.x, band.y, band.width, band.height, background_);
}

}  // namespace korven
