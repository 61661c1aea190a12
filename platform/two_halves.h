#pragma once
// Shares a large job between this thread and one helper thread.

#include <functional>

namespace korven {

// Calls work(first, end) over 0 .. count - 1 in two halves, the second on a
// helper thread when the job is `large`, the machine has a second core and a
// thread can be had; otherwise work(0, count) on this thread. Returns when
// both halves are done. An exception from either half is passed on then, so
// the halves may allocate what they need.
void run_in_two_halves(int count, bool large, const std::function<void(int first, int end)>& work);

// Pictures from this many pixels up are worth a helper thread.
constexpr long long pixels_worth_a_thread = 1 << 20;

}  // namespace korven
