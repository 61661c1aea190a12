#pragma once
// The two window layouts: the main window with every command and the curve
// editor, and the picture window.

#include "platform/layout.h"

namespace korven {

const fe::WindowLayout& main_form_layout();
const fe::WindowLayout& picture_form_layout();

}  // namespace korven
