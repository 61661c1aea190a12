#pragma once
// The batch command (`korven --apply`) over a set of camera-sized photos,
// against libjpeg-turbo decoding and encoding alone, vips and ImageMagick
// doing the same job at the same parallelism.

namespace korven::bench {

// Makes 40 photo-like JPEGs, runs each tool over them two at a time, prints
// photos per second, the batch's ratios to the others and its peak memory,
// and removes the files. KORVEN_BENCH_BATCH=0 leaves it out.
void report_batch();

}  // namespace korven::bench
