#include "bench/colour_view_bench.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

#include "bench/bench_support.h"
#include "bench/large_jpeg.h"
#include "display/loading.h"
#include "display/picture_window_events.h"
#include "files/colour_profile.h"
#include "files/image_files.h"
#include "platform/testing.h"
#include "state/state.h"

namespace korven::bench {

namespace {

constexpr int view_width = 1600, view_height = 1000;
constexpr int step = 16;

// Median milliseconds of HSCROLL1_CHANGE moving the view `step` pixels right,
// up to the end of the paint into the window's canvas.
double median_scroll_ms(int presses)
{
    State& s = state();
    const Controls& c = ui();
    std::vector<double> times;
    for (int press = 0; press < presses; ++press) {
        const int left = (press * step) % (s.shown_width - view_width);
        fe::set_scroll_pos(c.HSCROLL1, left);
        const auto start = std::chrono::steady_clock::now();
        HSCROLL1_CHANGE();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::nth_element(times.begin(), times.begin() + presses / 2, times.end());
    return times[static_cast<std::size_t>(presses / 2)];
}

}  // namespace

void report_colour_managed_scroll()
{
    start_program();
    const std::string file = (scratch_folder() / "adobe.bmp").string();
    if (!fe::save_file(photo_like_picture(), file)) return;
    load_picture_file(file);
    std::filesystem::remove(file);
    // An Adobe RGB photo, as its EXIF says.
    auto metadata = std::make_shared<PhotoMetadata>();
    metadata->exif_says_adobe_rgb = true;
    metadata->screen_conversion = screen_conversion_for({}, true);
    State& s = state();
    s.metadata = std::move(metadata);
    fe::set_window_size(ui().FORM2, view_width + picture_frame_width, view_height + picture_frame_height);
    fe::testing::process_events();

    constexpr int presses = 41;
    s.colour_managed_view = false;
    median_scroll_ms(5);  // the canvas and its pages in place
    const double off = median_scroll_ms(presses);
    s.colour_managed_view = true;
    const double on = median_scroll_ms(presses);
    std::printf("\nScrolling a 6000 x 4000 Adobe RGB photo by %d pixels in a %d x %d view (median of %d):\n",
                step, view_width, view_height, presses);
    std::printf("  %8.3f ms  conversion off\n  %8.3f ms  conversion on\n", off, on);
    std::printf("  %8.3f  cm_scroll_ratio\n", on / off);
}

}  // namespace korven::bench
