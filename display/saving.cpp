#include "display/saving.h"

#include <algorithm>
#include <optional>

#include "display/long_waits.h"
#include "files/picture_jobs.h"
#include "state/state.h"

namespace korven {

namespace {

// The quality of a JPEG file: the last one chosen is offered, in this run or an earlier one.
std::optional<int> ask_jpeg_quality()
{
    const int last = std::clamp(fe::read_setting("jpeg_quality", default_jpeg_quality), 1, 100);
    const std::optional<int> chosen = fe::ask_number("JPEG quality", "Quality (1 to 100):", last, 1, 100);
    if (chosen) fe::keep_setting("jpeg_quality", *chosen);
    return chosen;
}

// The first JPEG or PNG file of a photo whose metadata could not all be kept says so, once.
void tell_metadata_not_kept(const std::string& path, const std::string& reason)
{
    State& s = state();
    if (reason.empty() || s.metadata_loss_told == s.metadata) return;
    s.metadata_loss_told = s.metadata;
    fe::message("\"" + path + "\" is saved, but the photo's metadata could not all be kept: " + reason + ".");
}

}  // namespace

// "SAVE"
void BUTTON6_ON()
{
    State& s = state();
    if (s.shown_picture == original_slot) return;  // the original picture is not saved
    s.file_path = fe::win_save_dlg(ui().MAINFORM, "Save as bitmap", "image.bmp",
                                   "Bitmap Image(*.bmp);PNG Image(*.png);JPEG Image(*.jpg)");
    if (s.file_path == fe::cancel_text) return;
    const auto refuse = [&](const std::string& reason) {
        fe::message("Cannot save \"" + s.file_path + "\": " + reason + ".");
    };
    // Refusals that need no writing come before the quality dialog.
    if (const std::string refusal = save_refusal(s.file_path); !refusal.empty()) {
        refuse(refusal);
        return;
    }
    const PictureFileKind kind = kind_of_saved_file(s.file_path);
    SaveOptions options;
    if (kind == PictureFileKind::jpeg) {
        const std::optional<int> quality = ask_jpeg_quality();
        if (!quality) return;
        options.jpeg_quality = *quality;
    }
    // The photo carries its metadata and profile; the analysis chart is ours and carries none.
    const bool photo = s.shown_picture == adjusted_slot;
    if (photo) options.metadata = s.metadata.get();
    std::string metadata_not_kept = photo ? s.metadata->unreadable : std::string();
    FileResult written;
    {
        // A failed save leaves any earlier file whole; the message comes once the busy cursor is gone.
        const fe::Bitmap& picture = picture_in_slot(s.shown_picture);
        const fe::BusyCursor busy(takes_long(static_cast<long long>(picture.width()) * picture.height()));
        written = save_picture(picture, s.file_path, options, &metadata_not_kept);
    }
    if (!written) refuse(written.reason);
    else if (kind != PictureFileKind::bmp) tell_metadata_not_kept(s.file_path, metadata_not_kept);
}

}  // namespace korven
