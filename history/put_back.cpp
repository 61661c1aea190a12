#include "history/put_back.h"

#include <utility>

#include "display/picture_window.h"
#include "state/document_controls.h"

namespace korven {

void put_back(PhotoDocument document)
{
    State& s = state();
    const Controls& c = ui();
    const PhotoDocument shown = std::exchange(s.document(), std::move(document));
    show_document_values(shown);
    // The window grows back too, where a command had shrunk it to a small picture.
    if (s.picture_window_width != shown.picture_window_width || s.picture_window_height != shown.picture_window_height)
        fe::set_window_size(c.FORM2, s.picture_window_width, s.picture_window_height);
    INICHNG(0, 0);
    if (s.picture_window_shown) {
        DRAW2();
        fe::show_window(c.FORM2);
    } else {
        fe::hide_window(c.FORM2);
    }
}

}  // namespace korven
