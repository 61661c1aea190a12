#pragma once
// "Analysis": charts the colours of the shown picture in its panel of the
// analysis picture, then shows the chart.

#include <cstdint>

namespace korven {

// "Analysis"
void BUTTON7_ON();

// Draws panel `source` of the analysis picture (0 the upper, for the original
// picture; 1 the lower, for the adjusted): brightness histogram on the left,
// chromaticity diagram on the right. The other panel keeps what it showed.
void ANALY(std::int16_t source);

}  // namespace korven
