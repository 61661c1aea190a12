// The memory limits the program goes by are the system's own. Alone in its
// file so that tests can link a stand-in instead.
#include "core/memory_budget.h"

namespace korven {

MemoryLimits current_memory_limits() { return measured_memory_limits(); }

}  // namespace korven
