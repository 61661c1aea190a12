#pragma once
// Inside the runtime: the kept drawing of a window, as a plain pixel view.

#include "platform/form.h"
#include "platform/kept_canvas.h"

namespace fe::detail {

// The window's kept drawing in client coordinates (empty for windows that keep none).
korven::KeptCanvas& canvas(Window window);
// Tells the window to show its canvas again.
void canvas_changed(Window window);

}  // namespace fe::detail
