#pragma once
// Start-up: makes both windows, gives the global state its first values and
// sets the identity curve. The event loop is entered separately.

#include <string>

namespace korven {

// Makes the main window and runs the start-up sequence; handlers are wired.
void start_up();

// Loads `file` once the event loop runs, exactly as if it had been dropped
// on the main window.
void load_at_start(const std::string& file);

// The tone curve a fresh start shows: point k at 8 k, the last point at 255.
int identity_point_value(int point);

}  // namespace korven
