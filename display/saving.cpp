#include "display/saving.h"

#include "core/long_waits.h"
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
    const fe::Bitmap& picture = s.pictures[s.shown_picture];
    const fe::BusyCursor busy(takes_long(static_cast<long long>(picture.width()) * picture.height()));
    // A failed save leaves any earlier file whole.
    if (const FileResult written = save_picture(picture, s.file_path); !written)
        fe::message("Cannot save \"" + s.file_path + "\": " + written.reason + ".");
}

}  // namespace korven
