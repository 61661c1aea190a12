#include "colour/handlers.h"

#include "colour/draw_button.h"

namespace korven {

void add_colour_handlers(HandlerTable& table)
{
    table["BUTTON1_ON"] = plain(&BUTTON1_ON);
}

}  // namespace korven
