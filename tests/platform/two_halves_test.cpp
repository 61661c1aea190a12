#include "platform/two_halves.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

namespace korven {
namespace {

TEST(TwoHalves, EveryIndexOnceAndAFailingHalfReportedAfterBoth)
{
    for (const bool large : {false, true})
        for (const int count : {0, 1, 2, 7}) {
            std::vector<std::atomic<int>> visits(static_cast<std::size_t>(count));
            run_in_two_halves(count, large, [&](int first, int end) {
                for (int i = first; i < end; ++i) ++visits[static_cast<std::size_t>(i)];
            });
            for (const auto& visit : visits) EXPECT_EQ(visit, 1) << count;
        }

    std::atomic<bool> first_half_done{false};
    EXPECT_THROW(run_in_two_halves(10, true, [&](int first, int) {
        if (first > 0) throw std::runtime_error("helper half failed");
        first_half_done = true;
    }), std::runtime_error);
    EXPECT_TRUE(first_half_done);
}

}  // namespace
}  // namespace korven
