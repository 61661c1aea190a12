// DRAW as the user presses it, with the history on and off: a 6000 x 4000
// photo loaded, then 15 DRAWs with different curves, then ten undos and ten
// redos. Each run has a fresh process of its own, so no buffer of an earlier
// run is there to be reused; each code path has five runs each way, and
// every figure is the median of its five.
//
// The curve is set between presses with the program's events muted, as a
// program rather than the user would set it, so that every step of the
// history is one DRAW (a slider moved by the user is a step of its own).
#include "bench/draw_presses.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <unistd.h>

#include "app/handlers.h"
#include "bench/bench_support.h"
#include "colour/apply_curve.h"
#include "colour/draw_button.h"
#include "core/numbers.h"
#include "files/image_files.h"
#include "platform/testing.h"
#include "state/document_controls.h"

namespace korven::bench {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int presses = 15;
constexpr int undos = 10;
constexpr const char* option = "--draw-presses=";

// The time `action` takes, once the event loop has drawn what earlier actions
// changed and the buffer for the next picture is ready, as the user's own
// pace between presses leaves it.
template <class Action>
double milliseconds_of(Action action)
{
    fe::testing::process_events();
    finish_preparing_pixel_memory();
    const Clock::time_point start = Clock::now();
    action();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A curve of its own for each press, so every DRAW makes a new picture. The
// field's change raises no event meanwhile: it would be a step of its own.
void set_curve(int press)
{
    fe::set_event_sink([](const fe::Event&) {});
    show_curve_level(18, 40 + 9 * press);
    state().curve_field_texts[18] = display_text(40 + 9 * press);
    connect_handlers();
}

// The child: prints "press K MS", "undo K MS" and "redo K MS" lines.
int run_presses(CodePath path, bool history_on, const std::string& photo)
{
    limit_fastest_code_path(path);
    start_program();
    fe::testing::drop_files(ui().MAINFORM, {photo});
    if (state().picture_width[original_slot] != large_width) return 1;
    const fe::Control draw = fe::get_dlg_item(ui().MAINFORM, "BUTTON1");
    for (int press = 1; press <= presses; ++press) {
        set_curve(press);
        const double spent = milliseconds_of([&] {
            if (history_on) fe::testing::click(draw);
            else BUTTON1_ON();
        });
        std::printf("press %d %.3f\n", press, spent);
    }
    if (!history_on) return 0;
    for (const char* key : {"undo", "redo"})
        for (int step = 1; step <= undos; ++step) {
            // The event the key raises, and what it redraws; the simulated
            // key press itself is left out, as its first one in a process
            // costs the test library some 15 ms.
            const fe::Event event{.handler = key[0] == 'u' ? "KEY_UNDO" : "KEY_REDO"};
            std::printf("%s %d %.3f\n", key, step, milliseconds_of([&] {
                            fe::post_event(event);
                            fe::testing::process_events();
                        }));
        }
    return 0;
}

struct Run {
    std::vector<double> presses, undos, redos;
};

// Runs this program again as a child for one run, and reads its lines.
Run run_child(const std::string& self, CodePath path, bool history_on, const std::string& photo)
{
    const std::string command = "'" + self + "' " + option + std::string(code_path_name(path)) +
                                (history_on ? ":on" : ":off") + " '" + photo + "'";
    Run run;
    const std::unique_ptr<FILE, int (*)(FILE*)> child(popen(command.c_str(), "r"), pclose);
    if (!child) return run;
    char what[8];
    int index = 0;
    double spent = 0;
    while (std::fscanf(child.get(), "%7s %d %lf", what, &index, &spent) == 3) {
        const std::string kind = what;
        if (kind == "press") run.presses.push_back(spent);
        if (kind == "undo") run.undos.push_back(spent);
        if (kind == "redo") run.redos.push_back(spent);
    }
    return run;
}

double sum(const std::vector<double>& values, int first, int end)
{
    double total = 0;
    for (int i = first; i < end; ++i) total += values[static_cast<std::size_t>(i)];
    return total;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

constexpr int runs_each_way = 5;

bool complete(const Run& run, bool history_on)
{
    return run.presses.size() == presses &&
           (!history_on || (run.undos.size() == undos && run.redos.size() == undos));
}

// Runs in fresh processes, as one run of the median time of each press, undo
// and redo; none when a run failed.
std::optional<Run> median_run(const std::string& self, CodePath path, bool history_on, const std::string& photo)
{
    std::vector<Run> runs;
    for (int round = 0; round < runs_each_way; ++round) {
        runs.push_back(run_child(self, path, history_on, photo));
        if (!complete(runs.back(), history_on)) return std::nullopt;
    }
    const auto medians = [&](std::vector<double> Run::*times) {
        std::vector<double> result;
        for (std::size_t i = 0; i < (runs[0].*times).size(); ++i) {
            std::vector<double> at;
            for (const Run& run : runs) at.push_back((run.*times)[i]);
            result.push_back(median(at));
        }
        return result;
    };
    return Run{medians(&Run::presses), medians(&Run::undos), medians(&Run::redos)};
}

}  // namespace

int run_draw_presses_child(int argc, char** argv)
{
    for (int i = 1; i + 1 < argc; ++i) {
        const std::string argument = argv[i];
        if (!argument.starts_with(option)) continue;
        const std::string wanted = argument.substr(std::string(option).size());  // PATH:on or PATH:off
        const bool on = wanted.ends_with(":on");
        const std::string name = wanted.substr(0, wanted.find(':'));
        for (CodePath path : curve_paths_here())
            if (code_path_name(path) == name) return run_presses(path, on, argv[i + 1]);
        return 1;
    }
    return -1;
}

void report_draw_presses()
{
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    const std::string photo =
        (std::filesystem::temp_directory_path() / ("korven-presses-" + std::to_string(getpid()) + ".bmp")).string();
    if (!fe::save_file(synthetic_picture(large_width, large_height), photo).ok) return;
    std::printf("\nDRAW pressed on a 6000 x 4000 photo, each run a fresh process (medians of %d runs in ms;"
                " ratios history on / off):\n", runs_each_way);
    for (CodePath path : curve_paths_here()) {
        const std::optional<Run> measured_on = median_run(self, path, true, photo);
        const std::optional<Run> measured_off = median_run(self, path, false, photo);
        if (!measured_on || !measured_off) {
            std::printf("  %s: a run failed\n", std::string(code_path_name(path)).c_str());
            continue;
        }
        const Run& on = *measured_on;
        const Run& off = *measured_off;
        const double draw_off = median(off.presses);
        const std::vector<double> next_undos(on.undos.begin() + 1, on.undos.end());
        std::printf("  %-8s draw_cold_ratio %.2f  draw_steady_ratio %.2f  undo_ratio %.3f  redo_ratio %.3f"
                    "  first_undo %.2f x the next  (DRAW off %.1f, on %.1f; undo %.2f, redo %.2f)\n",
                    std::string(code_path_name(path)).c_str(), sum(on.presses, 0, 10) / sum(off.presses, 0, 10),
                    sum(on.presses, 10, presses) / sum(off.presses, 10, presses), median(on.undos) / draw_off,
                    median(on.redos) / draw_off, on.undos[0] / median(next_undos), draw_off, median(on.presses),
                    median(on.undos), median(on.redos));
        std::printf("           presses on: ");
        for (double spent : on.presses) std::printf(" %.0f", spent);
        std::printf("\n           presses off:");
        for (double spent : off.presses) std::printf(" %.0f", spent);
        std::printf("\n");
    }
    std::filesystem::remove(photo);
}

}  // namespace korven::bench
