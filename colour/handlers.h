#pragma once
#include "state/handler_table.h"

namespace korven {

// Adds this feature's event handlers to the table.
void add_colour_handlers(HandlerTable& table);

}  // namespace korven
