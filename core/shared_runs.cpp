#include "core/shared_runs.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <thread>

namespace korven {

namespace {

thread_local bool runs_alone = false;

}  // namespace

RunsOnThisThreadOnly::RunsOnThisThreadOnly() : before_(runs_alone) { runs_alone = true; }
RunsOnThisThreadOnly::~RunsOnThisThreadOnly() { runs_alone = before_; }

void share_runs(int count, int run_length, long long pixels, const std::function<void(int, int)>& work)
{
    static const bool second_core = std::thread::hardware_concurrency() >= 2;
    std::atomic<int> next{0};
    std::atomic<bool> failed{false};
    const auto take_runs = [&](std::exception_ptr& failure) {
        try {
            for (int first = next.fetch_add(run_length); first < count && !failed;
                 first = next.fetch_add(run_length))
                work(first, std::min(count, first + run_length));
        } catch (...) {
            failure = std::current_exception();
            failed = true;
        }
    };
    std::exception_ptr own_failure, helper_failure;
    std::thread helper;
    if (pixels >= pixels_worth_a_thread && count > run_length && second_core && !runs_alone) {
        try {
            helper = std::thread(take_runs, std::ref(helper_failure));
        } catch (const std::exception&) {
            // No thread to be had: this thread takes every run.
        }
    }
    take_runs(own_failure);
    if (helper.joinable()) helper.join();
    if (own_failure) std::rethrow_exception(own_failure);
    if (helper_failure) std::rethrow_exception(helper_failure);
}

}  // namespace korven
