#include "geometry/handlers.h"

#include "geometry/resizing.h"
#include "geometry/rotation.h"

namespace korven {

void add_geometry_handlers(HandlerTable& table)
{
    table["BUTTON13_ON"] = plain(BUTTON13_ON);
    table["BUTTON14_ON"] = plain(BUTTON14_ON);
}

}  // namespace korven
