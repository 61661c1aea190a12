#include "app/handlers.h"

#include "state/handler_table.h"
#include "colour/handlers.h"
#include "curve/handlers.h"
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
        return t;
    }();
    fe::set_event_sink([](const fe::Event& event) {
        if (const auto found = table.find(event.handler); found != table.end()) found->second(event);
    });
}

}  // namespace korven
