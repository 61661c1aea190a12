#include "core/memory_budget.h"

#include <sys/resource.h>
#include <unistd.h>

#include <fstream>

#include "core/picture.h"

namespace korven {

namespace {

std::uint64_t physical_memory()
{
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long page_size = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || page_size <= 0) return 0;
    return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(page_size);
}

std::uint64_t address_space_limit()
{
    rlimit limit{};
    if (getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return 0;
    return static_cast<std::uint64_t>(limit.rlim_cur);
}

// The process's virtual size: the first number of /proc/self/statm, in pages.
std::uint64_t address_space_in_use()
{
    std::ifstream statm("/proc/self/statm");
    std::uint64_t pages = 0;
    if (!(statm >> pages)) return 0;
    const long page_size = sysconf(_SC_PAGESIZE);
    return page_size > 0 ? pages * static_cast<std::uint64_t>(page_size) : 0;
}

}  // namespace

MemoryLimits measured_memory_limits()
{
    MemoryLimits limits;
    limits.physical_bytes = physical_memory();
    limits.address_space_bytes = address_space_limit();
    if (limits.address_space_bytes != 0) limits.address_space_used = address_space_in_use();
    return limits;
}

bool allocation_fits(std::uint64_t bytes, const MemoryLimits& limits)
{
    if (limits.physical_bytes != 0 && bytes > limits.physical_bytes) return false;
    if (limits.address_space_bytes != 0) {
        if (limits.address_space_used >= limits.address_space_bytes) return false;
        if (bytes > limits.address_space_bytes - limits.address_space_used) return false;
    }
    return true;
}

bool allocation_fits(std::uint64_t bytes) { return allocation_fits(bytes, current_memory_limits()); }

std::uint64_t physical_memory_bytes() { return current_memory_limits().physical_bytes; }

std::uint64_t picture_bytes(int width, int height)
{
    if (width <= 0 || height <= 0) return 0;
    return static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) * sizeof(Colour);
}

}  // namespace korven
