#include "display/handlers.h"

namespace korven {

void add_display_handlers(HandlerTable&) {}

}  // namespace korven
