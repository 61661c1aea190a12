#pragma once
// Events reach handlers by name ("BUTTON1_ON", "VSCROLL2_CHANGE", "FORM2_CLICK").
// Each feature adds its handlers to one table; a name without an entry does nothing.

#include <functional>
#include <string>
#include <unordered_map>

#include "platform/form.h"

namespace korven {

using Handler = std::function<void(const fe::Event&)>;
using HandlerTable = std::unordered_map<std::string, Handler>;

// Adapts a handler that needs nothing from its event.
inline Handler plain(void (*procedure)())
{
    return [procedure](const fe::Event&) { procedure(); };
}

}  // namespace korven
