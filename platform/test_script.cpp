// The test hook's script lives in the program itself, which reads it (scripted
// dialogs, a stand-in memory size); the simulated user actions are in a
// library only tests and benchmarks link.
#include "platform/testing.h"

namespace fe::testing {

Script& script()
{
    static Script instance;
    return instance;
}

}  // namespace fe::testing
