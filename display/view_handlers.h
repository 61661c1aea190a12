#pragma once
#include "state/handler_table.h"

namespace korven {

// Adds the handlers of switching, saving, the cursor readout, the compact
// main window and True Ratio to the table.
void add_view_handlers(HandlerTable& table);

}  // namespace korven
