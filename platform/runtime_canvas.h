#pragma once
// Inside the runtime: the kept drawing of a window, as a plain pixel view.

#include "platform/form.h"

namespace fe::detail {

// The window's canvas in client coordinates (empty for windows that keep no drawing).
korven::PictureView canvas(Window window);
// Tells the window to show its canvas again.
void canvas_changed(Window window);
// The colour a cleared window shows.
korven::Colour background(Window window);

}  // namespace fe::detail
