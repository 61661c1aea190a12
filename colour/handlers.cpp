#include "colour/handlers.h"

namespace korven {

void add_colour_handlers(HandlerTable&) {}

}  // namespace korven
