#pragma once
// The outcome of reading or writing a file.

#include <string>
#include <utility>

namespace korven {

// `reason` says why it failed, in words for the user.
struct FileResult {
    bool ok = true;
    std::string reason;
    explicit operator bool() const { return ok; }
};

inline FileResult file_failure(std::string reason) { return FileResult{false, std::move(reason)}; }

}  // namespace korven
