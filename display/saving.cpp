#include "display/saving.h"

#include "display/long_waits.h"
#include "files/picture_jobs.h"
#include "state/state.h"

namespace korven {

// "SAVE"
void BUTTON6_ON()
{
    State& s = state();
    if (s.shown_picture == original_slot) return;  // the original picture is not saved
    s.file_path = fe::win_save_dlg(ui().MAINFORM, "Save as bitmap", "image.bmp",
                                   "Bitmap Image(*.bmp);PNG Image(*.png)");
    if (s.file_path == fe::cancel_text) return;
    // A failed save leaves any earlier file whole; the message comes once the busy cursor is gone.
    FileResult written = file_failure(save_refusal(s.file_path));
    if (written.reason.empty()) {
        const fe::Bitmap& picture = picture_in_slot(s.shown_picture);
        const fe::BusyCursor busy(takes_long(static_cast<long long>(picture.width()) * picture.height()));
        written = save_picture(picture, s.file_path);
    }
    if (!written) fe::message("Cannot save \"" + s.file_path + "\": " + written.reason + ".");
}

}  // namespace korven
