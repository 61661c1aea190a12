#include "display/view_handlers.h"

#include "display/compact_window.h"
#include "display/cursor_readout.h"
#include "display/saving.h"
#include "display/switching.h"

namespace korven {

void add_view_handlers(HandlerTable& table)
{
    table["BUTTON9_ON"] = plain(BUTTON9_ON);
    table["BUTTON8_ON"] = plain(BUTTON8_ON);
    table["BUTTON12_ON"] = plain(BUTTON12_ON);
    table["BUTTON6_ON"] = plain(BUTTON6_ON);
    table["FORM2_MOUSEMOVE"] = FORM2_MOUSEMOVE;
    table["CHECK4_ON"] = plain(CHECK4_ON);
    table["BUTTON16_ON"] = plain(BUTTON16_ON);
}

}  // namespace korven
