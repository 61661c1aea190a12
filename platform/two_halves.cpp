#include "platform/two_halves.h"

#include <exception>
#include <thread>

namespace korven {

void run_in_two_halves(int count, bool large, const std::function<void(int, int)>& work)
{
    const int split = count / 2;
    if (!large || split == 0 || std::thread::hardware_concurrency() < 2) {
        work(0, count);
        return;
    }
    std::exception_ptr helper_failure;
    std::thread helper;
    try {
        helper = std::thread([&] {
            try {
                work(split, count);
            } catch (...) {
                helper_failure = std::current_exception();
            }
        });
    } catch (const std::exception&) {
        // No thread to be had: this thread does it all.
        work(0, count);
        return;
    }
    std::exception_ptr own_failure;
    try {
        work(0, split);
    } catch (...) {
        own_failure = std::current_exception();
    }
    helper.join();
    if (own_failure) std::rethrow_exception(own_failure);
    if (helper_failure) std::rethrow_exception(helper_failure);
}

}  // namespace korven
