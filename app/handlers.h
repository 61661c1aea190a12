#pragma once
// Wires every event of both windows, and the command keys, to its handler by name.

namespace korven {

void connect_handlers();

}  // namespace korven
