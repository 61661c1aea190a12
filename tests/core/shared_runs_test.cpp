#include "core/shared_runs.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

namespace korven {
namespace {

TEST(SharedRuns, EveryIndexOnceAndAFailingRunReportedAfterAll)
{
    for (const long long pixels : {0LL, pixels_worth_a_thread})
        for (const int count : {0, 1, 7, 100}) {
            std::vector<std::atomic<int>> visits(static_cast<std::size_t>(count));
            share_runs(count, 3, pixels, [&](int first, int end) {
                for (int i = first; i < end; ++i) ++visits[static_cast<std::size_t>(i)];
            });
            for (const auto& visit : visits) EXPECT_EQ(visit, 1) << count;
        }

    EXPECT_THROW(share_runs(100, 3, pixels_worth_a_thread, [&](int first, int) {
        if (first == 30) throw std::runtime_error("a run failed");
    }), std::runtime_error);
}

}  // namespace
}  // namespace korven
