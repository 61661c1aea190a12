#pragma once
// Wires every event of both windows to its handler by name.

namespace korven {

void connect_handlers();

}  // namespace korven
