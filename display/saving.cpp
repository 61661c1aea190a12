#include "display/saving.h"

#include <filesystem>
#include <string>
#include <system_error>

#include "state/state.h"
#include "display/file_endings.h"
#include "display/long_waits.h"
#include "platform/png_file.h"

namespace korven {

namespace {

// Why `path` cannot take a file, in words a user understands, or "" when it
// may. The runtime would refuse these too, but with the toolkit's wording.
std::string reason_path_cannot_be_written(const std::string& path)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path target(path);
    if (fs::is_directory(target, error)) return "it is a folder";
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    if (!fs::is_directory(folder, error)) return "the folder " + folder.string() + " does not exist";
    return {};
}

}  // namespace

// "SAVE"
void BUTTON6_ON()
{
    State& s = state();
    if (s.shown_picture == original_slot) return;  // the original picture is not saved
    s.file_path = fe::win_save_dlg(ui().MAINFORM, "Save as bitmap", "image.bmp",
                                   "Bitmap Image(*.bmp);PNG Image(*.png)", 0);
    if (s.file_path == fe::cancel_text) return;
    // The runtime writes a temporary file beside the target and renames it over
    // the target only when complete, so a failure leaves any earlier file whole.
    std::string reason = reason_path_cannot_be_written(s.file_path);
    if (reason.empty()) {
        const fe::Bitmap& picture = s.pictures[s.shown_picture];
        const fe::BusyCursor busy(
            takes_long(static_cast<long long>(picture.width()) * picture.height()));
        // A name ending in .png, in any case, asks for a PNG file; every other name gets a BMP file.
        const fe::FileResult written = is_png_path(s.file_path) ? fe::save_png_file(picture, s.file_path)
                                                                : fe::save_file(picture, s.file_path);
        if (written) return;
        reason = written.reason;
    }
    fe::message("Cannot save \"" + s.file_path + "\": " + reason + ".");
}

}  // namespace korven
