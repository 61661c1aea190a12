// The running program driven by a fuzzer's bytes: texts of every kind in every
// field, and the buttons, boxes and clicks whose handlers turn those numbers
// into pictures, views and texts. After every event the session's invariants
// hold; the sanitizers watch the rest.
#include <cstdlib>
#include <memory>

#include "platform/form.h"
#include "tests/fuzz/fuzz_entry.h"
#include "tests/support/random_session.h"

namespace {

using namespace korven;

std::unique_ptr<test::RandomSession> session;

// Events per input: enough for a field, its button and a look at the result.
constexpr int most_events = 48;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    fe::init(*argc, *argv);
    session = std::make_unique<test::RandomSession>(fuzz::scratch_folder().string());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    test::start_program_afresh();
    test::ByteChoices choices({data, size});
    for (int n = 0; n < most_events && choices.left(); ++n) {
        const std::string event = session->step(choices);
        const std::string broken = test::broken_invariant();
        fuzz::require(broken.empty(), "after " + event + ": " + broken);
    }
    return 0;
}
