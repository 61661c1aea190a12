#include "geometry/handlers.h"

namespace korven {

void add_geometry_handlers(HandlerTable&) {}

}  // namespace korven
