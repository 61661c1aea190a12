#pragma once

namespace korven {

// Which loops a geometry kernel runs: the fastest this processor offers, or
// the plain ones every processor runs. Both give identical pictures.
enum class KernelPath { fastest, portable };

}  // namespace korven
