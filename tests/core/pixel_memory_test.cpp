// The spare buffers of pixel memory: which are kept, which a request takes,
// and the one got ready ahead.
#include <gtest/gtest.h>

#include "core/picture.h"

namespace korven {
namespace {

constexpr std::size_t small = std::size_t{4} << 20, large = std::size_t{8} << 20;  // whole huge pages

TEST(PixelMemory, KeepsTheTwoNewestLargeBuffersAndGetsOneReadyAhead)
{
    release_spare_pixel_memory();
    void* first = allocate_pixel_memory(large);
    void* second = allocate_pixel_memory(small);
    void* third = allocate_pixel_memory(small);
    release_pixel_memory(first, large);
    release_pixel_memory(second, small);
    release_pixel_memory(third, small);  // the oldest, `first`, makes room
    EXPECT_EQ(spare_pixel_bytes(), 2 * small);

    // A request takes the smallest spare it fits; one given back fills the free place.
    release_spare_pixel_memory();
    void* big = allocate_pixel_memory(large);
    void* little = allocate_pixel_memory(small);
    release_pixel_memory(big, large);
    release_pixel_memory(little, small);
    EXPECT_EQ(allocate_pixel_memory(small), little);
    release_pixel_memory(little, small);
    EXPECT_EQ(spare_pixel_bytes(), large + small);

    // Ready ahead, once: a spare that fits is there already the second time.
    release_spare_pixel_memory();
    prepare_pixel_memory(large);
    finish_preparing_pixel_memory();
    prepare_pixel_memory(large);
    finish_preparing_pixel_memory();
    EXPECT_EQ(spare_pixel_bytes(), large);
    release_spare_pixel_memory();
    EXPECT_EQ(spare_pixel_bytes(), 0u);
}

TEST(PixelMemory, MoreSparesMadeAheadServeSmallerPicturesAndComeBackWhole)
{
    keep_spare_pixel_buffers(3, large);
    EXPECT_EQ(spare_pixel_bytes(), 3 * large);
    // A picture of half the size takes a large spare, which comes back large.
    void* lent = allocate_pixel_memory(small);
    EXPECT_EQ(spare_pixel_bytes(), 2 * large);
    release_pixel_memory(lent, small);
    EXPECT_EQ(spare_pixel_bytes(), 3 * large);
    // The one written last is lent again first.
    EXPECT_EQ(allocate_pixel_memory(large), lent);
    release_pixel_memory(lent, large);
    keep_spare_pixel_buffers(2);
    EXPECT_EQ(spare_pixel_bytes(), 0u);
}

}  // namespace
}  // namespace korven
