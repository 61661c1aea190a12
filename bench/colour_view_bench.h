#pragma once
// Scrolling a photo whose colours the view converts for the screen.

namespace korven::bench {

// Scrolls a 6000 x 4000 Adobe RGB photo by 16 pixels at one to one in a
// 1600 x 1000 view, with the conversion on and off, and prints the ratio.
void report_colour_managed_scroll();

}  // namespace korven::bench
