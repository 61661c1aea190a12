#include "curve/curve_files.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "files/curve_file.h"
#include "state/document_controls.h"

namespace korven {

namespace {

constexpr char curve_filter[] = "Curves (*.kcurve);All files (*)";

bool ends_with_curve_ending(const std::string& path)
{
    const std::string ending = std::filesystem::path(path).extension().string();
    return std::equal(ending.begin(), ending.end(), curve_file_ending.begin(), curve_file_ending.end(),
                      [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}

}  // namespace

void load_curve_file(const std::string& path)
{
    const CurveFileRead read = read_curve_file(path);
    if (!read.curve) {
        fe::message("Cannot load the curve \"" + path + "\": " + read.error + ".");
        return;
    }
    for (int k = 0; k < curve_points; ++k) show_curve_level(k, read.curve->levels[static_cast<std::size_t>(k)]);
    show_draw_mode(read.curve->mode);
    if (!read.notice.empty()) fe::message("\"" + path + "\": " + read.notice);
}

void KEY_LOAD_CURVE()
{
    const std::string chosen = fe::win_open_dlg(ui().MAINFORM, "Load curve", "*.kcurve", curve_filter);
    if (chosen != fe::cancel_text) load_curve_file(chosen);
}

void KEY_SAVE_CURVE()
{
    std::string chosen = fe::win_save_dlg(ui().MAINFORM, "Save curve", "curve.kcurve", curve_filter);
    if (chosen == fe::cancel_text) return;
    // A name typed without an ending gets ours, so the file shows in the load dialog.
    if (!std::filesystem::path(chosen).has_extension()) chosen += curve_file_ending;
    const State& s = state();
    if (const FileResult saved = save_curve_file({s.curve_levels, s.draw_mode}, chosen); !saved)
        fe::message("Cannot save \"" + chosen + "\": " + saved.reason + ".");
}

bool drops_curve_file(const fe::Event& drop)
{
    return fb::get_drop_file_count(drop) == 1 && ends_with_curve_ending(fb::get_drop_file_name(drop, 0));
}

}  // namespace korven
