#include "app/batch_progress.h"

#include <unistd.h>

#include <cmath>
#include <cstdio>

namespace korven {

BatchProgress::BatchProgress(int total) : total_(total), shown_(isatty(STDERR_FILENO) == 1) {}

void BatchProgress::show(int done)
{
    if (!shown_) return;
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    const double rate = seconds > 0 ? done / seconds : 0;
    char line[160];
    if (done == 0 || rate <= 0) {
        std::snprintf(line, sizeof line, "\r%d of %d photos done\x1b[K", done, total_);
    } else {
        const long left = std::lround((total_ - done) / rate);
        std::snprintf(line, sizeof line, "\r%d of %d photos done, %.2f a second, %ld:%02ld left\x1b[K", done, total_,
                      rate, left / 60, left % 60);
    }
    std::fputs(line, stderr);
    std::fflush(stderr);
}

void BatchProgress::clear()
{
    if (shown_) std::fputs("\r\x1b[K", stderr);
}

}  // namespace korven
