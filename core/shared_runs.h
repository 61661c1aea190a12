#pragma once
// Shares a large job between this thread and one helper thread.

#include <functional>

namespace korven {

// Pictures from this many pixels up are worth a helper thread.
constexpr long long pixels_worth_a_thread = 1 << 20;

// Calls work(first, end) over 0 .. count - 1 in runs of `run_length`. For a
// job over `pixels` pixels, at least `pixels_worth_a_thread`, on a machine
// with a second core, this thread and a helper
// thread take the next run in turn until none is left, so a helper that
// starts late or is slowed down only does less; otherwise this thread does
// every run. Returns when all runs are done. An exception from a run is
// passed on then (later runs are skipped), so runs may allocate what they need.
void share_runs(int count, int run_length, long long pixels,
                const std::function<void(int first, int end)>& work);

// While one lives, `share_runs` on this thread does every run itself: for
// work that is already spread over the cores a job per thread.
class RunsOnThisThreadOnly {
public:
    RunsOnThisThreadOnly();
    ~RunsOnThisThreadOnly();
    RunsOnThisThreadOnly(const RunsOnThisThreadOnly&) = delete;
    RunsOnThisThreadOnly& operator=(const RunsOnThisThreadOnly&) = delete;

private:
    bool before_;
};

}  // namespace korven
