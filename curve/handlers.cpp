#include "curve/handlers.h"

namespace korven {

void add_curve_handlers(HandlerTable&) {}

}  // namespace korven
