#pragma once
// Curve files from the keys and from a drop: Ctrl+Shift+O loads one into the
// sliders, fields and mode buttons, Ctrl+Shift+S saves the curve and its mode.

#include <string>

#include "platform/form.h"

namespace korven {

// Ctrl+Shift+O: a curve file chosen in a dialog.
void KEY_LOAD_CURVE();

// Ctrl+Shift+S: the curve and its mode, saved as a `.kcurve` file.
void KEY_SAVE_CURVE();

// Sets the curve and its mode from the file at `path` as typing its levels
// and clicking its mode button would; a file that cannot be used changes
// nothing and is reported. It does not DRAW.
void load_curve_file(const std::string& path);

// True when `drop` is one file whose name ends in ".kcurve" (either case).
bool drops_curve_file(const fe::Event& drop);

}  // namespace korven
