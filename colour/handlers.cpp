#include "colour/handlers.h"

#include "colour/analysis_button.h"
#include "colour/draw_button.h"

namespace korven {

void add_colour_handlers(HandlerTable& table)
{
    table["BUTTON1_ON"] = plain(&BUTTON1_ON);
    table["BUTTON7_ON"] = plain(&BUTTON7_ON);
}

}  // namespace korven
