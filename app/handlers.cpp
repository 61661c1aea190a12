#include "app/handlers.h"

#include "state/handler_table.h"
#include "app/commands.h"
#include "app/keys.h"
#include "app/live_draw.h"
#include "colour/handlers.h"
#include "curve/curve_files.h"
#include "curve/handlers.h"
#include "display/loading.h"
#include "display/handlers.h"
#include "geometry/handlers.h"

namespace korven {

void connect_handlers()
{
    static const HandlerTable table = [] {
        HandlerTable t;
        add_display_handlers(t);
        add_curve_handlers(t);
        add_colour_handlers(t);
        add_geometry_handlers(t);
        t["KEY_UNDO"] = plain(KEY_UNDO);
        t["KEY_REDO"] = plain(KEY_REDO);
        t["KEY_LIVE_DRAW"] = plain(KEY_LIVE_DRAW);
        t["KEY_QUIT"] = plain(KEY_QUIT);
        t["LIVE_DRAW_PASS"] = plain(LIVE_DRAW_PASS);
        // A curve file dropped on the main window loads the curve; any other file, a photo.
        t["MAINFORM_DROPFILES"] = [](const fe::Event& drop) {
            if (drops_curve_file(drop)) load_curve_file(fb::get_drop_file_name(drop, 0));
            else MAINFORM_DROPFILES(drop);
        };
        return t;
    }();
    fe::set_event_sink([](const fe::Event& event) { dispatch(table, event); });
}

}  // namespace korven
