#pragma once
// What every fuzz target defines, and how it reports a broken promise. The
// same entry functions run under libFuzzer (`make fuzz`) and under the replay
// main of the test build, which feeds them the saved regression inputs.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
// Optional: runs once before the first input.
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace korven::fuzz {

// A promise the code under test broke: said on stderr, then a crash, which
// libFuzzer saves as a crash input and the replay reports as a failure.
inline void require(bool holds, std::string_view what)
{
    if (holds) return;
    std::fprintf(stderr, "broken promise: %.*s\n", static_cast<int>(what.size()), what.data());
    std::abort();
}

}  // namespace korven::fuzz
