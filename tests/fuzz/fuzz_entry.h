#pragma once
// What every fuzz target defines, and how it reports a broken promise. The
// same entry functions run under libFuzzer (`make fuzz`) and under the replay
// main of the test build, which feeds them the saved regression inputs.

#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
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

// A folder of the target's own for the files it writes, made on first use
// and removed when the target ends.
inline const std::filesystem::path& scratch_folder()
{
    static const std::filesystem::path folder = [] {
        std::string name = (std::filesystem::temp_directory_path() / "korven-fuzz-XXXXXX").string();
        require(mkdtemp(name.data()) != nullptr, "no temporary folder");
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(scratch_folder(), ignored);
        });
        return std::filesystem::path(name);
    }();
    return folder;
}

}  // namespace korven::fuzz
