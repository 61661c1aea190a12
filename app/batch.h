#pragma once
// `korven --apply`: one curve file applied to many photos, with no window.
// Each photo is loaded, drawn with the curve and its mode, and saved in its
// own format exactly as the program's LOAD, DRAW and SAVE would; nothing else
// is written.

#include <string>

#include "files/picture_jobs.h"
#include "files/tone_curve.h"
#include "platform/command_line.h"

namespace korven {

// Corrects one photo into `result`: read, drawn with `curve`, saved as
// `result`'s ending says, JPEG at `quality` with the photo's metadata and
// colour profile. A failure leaves no file; `metadata_not_kept` says when the
// result was written without all of the photo's metadata.
FileResult correct_photo(const std::string& photo, const std::string& result, const ToneCurve& curve,
                         int quality, std::string& metadata_not_kept);

// Runs the batch and returns the program's exit status: 0 when every photo
// was corrected or skipped, 1 when any failed, 2 when the curve file cannot be
// used or the out folder does not exist.
int run_batch(const fe::BatchRequest& request);

}  // namespace korven
