#pragma once
// Pictures as the whole program sees them: width, height and a contiguous,
// row-major buffer of colour values red + 256 x green + 65536 x blue.

#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

#include "core/numbers.h"

namespace korven {

using Colour = std::uint32_t;

constexpr Colour rgb(int red, int green, int blue)
{
    return static_cast<Colour>(red & 255) | (static_cast<Colour>(green & 255) << 8) |
           (static_cast<Colour>(blue & 255) << 16);
}
// The longest side a picture may have: sizes are kept in 16 bits.
constexpr int largest_picture_side = 32767;

constexpr int red_of(Colour c) { return static_cast<int>(c & 255); }
constexpr int green_of(Colour c) { return static_cast<int>((c >> 8) & 255); }
constexpr int blue_of(Colour c) { return static_cast<int>((c >> 16) & 255); }

// Where a real coordinate falls on the pixel grid. Every operation that takes
// real coordinates maps them this way: get_pixel, set_pixel, the copies, the
// drawing layer's lines and boxes, and the analysis dots. The nearest whole
// number, halves away from zero (2.5 -> 3, -2.5 -> -3), so pixel c takes the
// coordinates within half a pixel of c. NaN and values beyond 2^30 either way
// land far outside any picture; for coordinates known to lie well inside, this
// is round_in_range, which a loop placing many points may call directly.
template <typename Real>
constexpr int pixel_coordinate(Real value)
{
    constexpr Real far_outside = Real(1 << 30);
    value = value > -far_outside ? value : -far_outside;  // NaN too
    value = value < far_outside ? value : far_outside;
    return round_in_range(value);
}

// A window onto rows of pixels; `stride` is the distance between rows in pixels.
struct PictureView {
    Colour* pixels = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;

    Colour* row(int y) const { return pixels + y * stride; }
};

struct ConstPictureView {
    const Colour* pixels = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;

    ConstPictureView() = default;
    ConstPictureView(const Colour* p, int w, int h, std::ptrdiff_t s)
        : pixels(p), width(w), height(h), stride(s) {}
    ConstPictureView(const PictureView& v)  // NOLINT: a writable view reads too
        : pixels(v.pixels), width(v.width), height(v.height), stride(v.stride) {}

    const Colour* row(int y) const { return pixels + y * stride; }
};

// Memory for pixels. Large buffers start on huge pages where the system
// offers them, so a photo's first touch costs a few page faults instead of
// tens of thousands, and the last two given back are reused. Throws
// std::bad_alloc when there is no memory.
void* allocate_pixel_memory(std::size_t bytes);
void release_pixel_memory(void* memory, std::size_t bytes) noexcept;
// Bytes of the large buffers given back and kept spare for reuse (at most
// two), and giving them back to the system.
std::uint64_t spare_pixel_bytes();
void release_spare_pixel_memory();
// Keeps up to `count` spares from now on, instead of two: for work that
// holds more pictures at once, such as several photos corrected side by
// side. With `bytes_each`, that many buffers of that size are made spare at
// once (their pages come when first written), so pictures of any size from
// half of it up to it never wait for new memory.
void keep_spare_pixel_buffers(int count, std::size_t bytes_each = 0);
// Whether a picture of `bytes` needs nothing more of the system, or will not
// once the buffer under way is ready: it is small (small pictures come from
// the ordinary heap) or a spare fits it. Cheap: a caller asks this before
// weighing whether to prepare.
bool pixel_memory_in_hand(std::size_t bytes);
// Gets a large buffer of `bytes` ready on another thread and keeps it spare,
// unless the memory is in hand already: the next picture of that size
// then costs no page faults, which on a 96 MB photo cost as much as the
// command itself. One at a time; a request while one is under way is dropped.
void prepare_pixel_memory(std::size_t bytes);
// Waits until a buffer under way is ready.
void finish_preparing_pixel_memory();

// A pixel made without a value is left unset (see `Picture::for_overwrite`).
template <typename T>
struct PixelAllocator {
    using value_type = T;
    PixelAllocator() = default;
    template <typename U>
    PixelAllocator(const PixelAllocator<U>&) {}  // NOLINT: allocators convert

    T* allocate(std::size_t count)
    {
        return static_cast<T*>(allocate_pixel_memory(count * sizeof(T)));
    }
    void deallocate(T* memory, std::size_t count)
    {
        release_pixel_memory(memory, count * sizeof(T));
    }
    template <typename U>
    void construct(U* at)
    {
        ::new (static_cast<void*>(at)) U;
    }
    template <typename U, typename... Args>
    void construct(U* at, Args&&... args)
    {
        ::new (static_cast<void*>(at)) U(static_cast<Args&&>(args)...);
    }
    friend bool operator==(const PixelAllocator&, const PixelAllocator&) { return true; }
};
using PixelBuffer = std::vector<Colour, PixelAllocator<Colour>>;

// An owned picture. A new picture is black; an empty one has no image yet.
class Picture {
public:
    Picture() = default;
    Picture(int width, int height)
        : pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0),
          width_(width), height_(height)
    {
    }

    // A picture whose pixels are not set yet, for code that writes every one
    // of them before anything reads it: the memory is touched once, not twice.
    static Picture for_overwrite(int width, int height)
    {
        Picture picture;
        picture.pixels_ = PixelBuffer(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
        picture.width_ = width;
        picture.height_ = height;
        return picture;
    }

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return pixels_.empty(); }

    Colour* row(int y) { return pixels_.data() + static_cast<std::ptrdiff_t>(y) * width_; }
    const Colour* row(int y) const
    {
        return pixels_.data() + static_cast<std::ptrdiff_t>(y) * width_;
    }
    Colour& at(int x, int y) { return row(y)[x]; }
    Colour at(int x, int y) const { return row(y)[x]; }

    PictureView view() { return {pixels_.data(), width_, height_, width_}; }
    ConstPictureView view() const { return {pixels_.data(), width_, height_, width_}; }

    PixelBuffer& pixels() { return pixels_; }
    const PixelBuffer& pixels() const { return pixels_; }

    friend bool operator==(const Picture&, const Picture&) = default;

private:
    // The pixels first: copying a picture into one whose buffer is too small
    // may fail, and then must leave its size as it was.
    PixelBuffer pixels_;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace korven
