#include "colour/handlers.h"

#include "colour/analysis_button.h"
#include "colour/draw_button.h"

namespace korven {

void add_colour_handlers(HandlerTable& table)
{
    table["BUTTON1_ON"] = plain(&BUTTON1_ON);
    table["BUTTON7_ON"] = plain(&BUTTON7_ON);
    table["RADIO1_ON"] = plain(&RADIO1_ON);
    table["RADIO2_ON"] = plain(&RADIO2_ON);
    table["RADIO3_ON"] = plain(&RADIO3_ON);
    table["RADIO4_ON"] = plain(&RADIO4_ON);
}

}  // namespace korven
