// A slider dragged at 60 moves a second with live DRAW on, on a 6000 x 4000
// picture: how late the drag's moves are handled while the passes run.
#include <algorithm>
#include <chrono>
#include <numeric>
#include <thread>
#include <vector>

#include "state/document_controls.h"
#include "app/commands.h"
#include "bench/bench_support.h"
#include "display/picture_window.h"
#include "platform/testing.h"

namespace korven::bench {
namespace {

using Clock = std::chrono::steady_clock;

double milliseconds(Clock::duration spent) { return std::chrono::duration<double, std::milli>(spent).count(); }

// A 6000 x 4000 photo as a load leaves it: both pictures alike, the adjusted
// one shown, and an empty history.
void show_large_picture()
{
    start_program();
    State& s = state();
    s.pictures.set(original_slot, synthetic_picture(large_width, large_height));
    s.pictures.set(adjusted_slot, s.pictures.shared(original_slot));
    for (int slot : {original_slot, adjusted_slot}) {
        s.picture_width[slot] = large_width;
        s.picture_height[slot] = large_height;
    }
    s.shown_width = large_width;
    s.shown_height = large_height;
    s.shown_picture = adjusted_slot;
    show_picture_window(true);
    INICHNG(1, 2);
    DRAW2();
    reset_history();
}

fe::Control control(const char* name) { return fe::get_dlg_item(ui().MAINFORM, name); }

// A drag of one slider: a move every 16 ms for 2 s, delivered when due or as
// soon as the program takes input again. "late" is how long a move waited,
// from the second half second on; "first_move_ms" is the first move alone.
void BM_LiveDrawSliderDrag(benchmark::State& bench)
{
    show_large_picture();
    fe::testing::press_keys(ui().MAINFORM, "Ctrl+L");
    constexpr auto frame = std::chrono::milliseconds(16);
    constexpr int moves = 125;
    std::vector<double> late, pass_times;
    double first_move = 0;
    for (auto _ : bench) {
        const Clock::time_point start = Clock::now();
        for (int move = 0; move < moves; ++move) {
            const Clock::time_point due = start + move * frame;
            while (Clock::now() < due) {
                const Clock::time_point before = Clock::now();
                fe::testing::process_events();
                if (const double spent = milliseconds(Clock::now() - before); spent > 5) pass_times.push_back(spent);
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            late.push_back(milliseconds(Clock::now() - due));
            const Clock::time_point moved = Clock::now();
            fe::testing::move_slider(control("VSCROLL18"), 40 + move % 176);
            if (move == 0) first_move = milliseconds(Clock::now() - moved);
        }
        fe::testing::process_events();
    }
    fe::testing::press_keys(ui().MAINFORM, "Ctrl+L");
    bench.counters["moves"] = moves;
    bench.counters["passes"] = static_cast<double>(pass_times.size());
    bench.counters["pass_ms"] = std::accumulate(pass_times.begin(), pass_times.end(), 0.0) /
                                std::max<std::size_t>(1, pass_times.size());
    const auto settled = late.begin() + moves / 4;
    bench.counters["first_move_ms"] = first_move;
    bench.counters["late_mean_ms"] = std::accumulate(settled, late.end(), 0.0) / static_cast<double>(late.end() - settled);
    bench.counters["late_max_ms"] = *std::max_element(settled, late.end());
}
BENCHMARK(BM_LiveDrawSliderDrag)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace
}  // namespace korven::bench
