#include "display/handlers.h"

#include "display/loading.h"
#include "display/picture_window.h"
#include "display/picture_window_events.h"
#include "display/view_handlers.h"
#include "display/zoom_boxes.h"

namespace korven {

void add_display_handlers(HandlerTable& table)
{
    table["BUTTON2_ON"] = plain(BUTTON2_ON);
    table["MAINFORM_DROPFILES"] = MAINFORM_DROPFILES;
    table["EDIT1_CHANGE"] = plain(EDIT1_CHANGE);
    table["FORM2_RESIZE"] = plain(FORM2_RESIZE);
    table["HSCROLL1_CHANGE"] = plain(HSCROLL1_CHANGE);
    table["VSCROLL1_CHANGE"] = plain(VSCROLL1_CHANGE);
    table["CHECK2_ON"] = plain(CHECK2_ON);
    table["CHECK7_ON"] = plain(CHECK7_ON);
    table["KEY_COLOUR_VIEW"] = plain(KEY_COLOUR_VIEW);
    add_view_handlers(table);
}

}  // namespace korven
