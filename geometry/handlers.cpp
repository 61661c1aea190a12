#include "geometry/handlers.h"

#include "geometry/picture_clicks.h"
#include "geometry/resizing.h"
#include "geometry/rotation.h"
#include "geometry/trimming.h"

namespace korven {

void add_geometry_handlers(HandlerTable& table)
{
    table["CHECK1_ON"] = plain(CHECK1_ON);
    for (const char* field : {"EDIT4_CHANGE", "EDIT5_CHANGE", "EDIT6_CHANGE", "EDIT7_CHANGE"})
        table[field] = plain(trimming_field_CHANGE);
    table["BUTTON15_ON"] = plain(BUTTON15_ON);
    table["BUTTON11_ON"] = plain(BUTTON11_ON);
    table["FORM2_CLICK"] = FORM2_CLICK;
    table["CHECK5_ON"] = plain(CHECK5_ON);
    table["BUTTON13_ON"] = plain(BUTTON13_ON);
    table["BUTTON14_ON"] = plain(BUTTON14_ON);
}

}  // namespace korven
