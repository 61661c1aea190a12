#pragma once
// The one line a terminal shows while a batch runs: photos done, photos a
// second and the time left, redrawn in place on standard error. Nothing is
// shown when standard error is not a terminal.

#include <chrono>

namespace korven {

class BatchProgress {
public:
    explicit BatchProgress(int total);
    void show(int done);
    void clear();  // before anything else is printed

private:
    int total_;
    bool shown_;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace korven
