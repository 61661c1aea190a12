#pragma once
// `korven --apply`: one curve file applied to many photos, with no window.
// Each photo is loaded, drawn with the curve and its mode, and saved in its
// own format exactly as the program's LOAD, DRAW and SAVE would; nothing else
// is written.

#include "platform/command_line.h"

namespace korven {

// Runs the batch and returns the program's exit status: 0 when every photo
// was corrected or skipped, 1 when any failed, 2 when the curve file cannot be
// used or the out folder does not exist.
int run_batch(const fe::BatchRequest& request);

}  // namespace korven
