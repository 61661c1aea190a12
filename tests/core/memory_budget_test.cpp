#include "core/memory_budget.h"

#include <gtest/gtest.h>

namespace korven {
namespace {

TEST(MemoryBudget, AnAllocationMustFitPhysicalMemoryAndTheAddressSpaceLeft)
{
    EXPECT_TRUE(allocation_fits(1000, {.physical_bytes = 1000}));
    EXPECT_FALSE(allocation_fits(1001, {.physical_bytes = 1000}));
    const MemoryLimits limited{.physical_bytes = 1 << 20, .address_space_bytes = 5000, .address_space_used = 4000};
    EXPECT_TRUE(allocation_fits(1000, limited));
    EXPECT_FALSE(allocation_fits(1001, limited));
    EXPECT_FALSE(allocation_fits(1, {.address_space_bytes = 5000, .address_space_used = 6000}));
    EXPECT_TRUE(allocation_fits(1ull << 40, {}));  // nothing known, nothing refused

    // This machine: a picture of a few megabytes fits, one of four exbibytes does not.
    EXPECT_TRUE(allocation_fits(picture_bytes(2000, 1000)));
    EXPECT_FALSE(allocation_fits(1ull << 62));
    EXPECT_EQ(picture_bytes(32767, 32767), 4294705156ull);
    EXPECT_EQ(picture_bytes(0, 100), 0u);
}

}  // namespace
}  // namespace korven
