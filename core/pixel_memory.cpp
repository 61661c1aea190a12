// Memory for pixel buffers. A 6000 x 4000 photo takes 96 MB: on 4 KB pages
// its first touch is 23 000 page faults, on 2 MB huge pages 46. The last
// large buffer given back is kept for the next request it fits, so loading
// photo after photo of one size touches no new memory at all.
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <new>
#include <utility>

#include "core/picture.h"

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace korven {

namespace {

constexpr std::size_t huge_page = std::size_t{2} << 20;

// `bytes` rounded up to whole huge pages; 0 for buffers smaller than one huge
// page (which would waste too much of it) and for sizes beyond rounding.
std::size_t in_huge_pages(std::size_t bytes)
{
    if (bytes < huge_page || bytes > SIZE_MAX - huge_page) return 0;
    return (bytes + huge_page - 1) / huge_page * huge_page;
}

// The buffer kept for reuse; freed for good when another takes its place.
class KeptBuffer {
public:
    // The kept buffer if it holds `bytes` without wasting more than half of
    // itself. One too small is freed at once, so that it does not add to
    // what the larger request is about to ask of the system.
    void* take(std::size_t bytes)
    {
        const std::lock_guard lock(mutex_);
        if (bytes > size_) {
            std::free(std::exchange(memory_, nullptr));
            size_ = 0;
        }
        if (memory_ == nullptr || bytes < size_ / 2) return nullptr;
        size_ = 0;
        return std::exchange(memory_, nullptr);
    }

    void keep(void* memory, std::size_t bytes)
    {
        const std::lock_guard lock(mutex_);
        std::free(std::exchange(memory_, memory));
        size_ = bytes;
    }

private:
    std::mutex mutex_;
    void* memory_ = nullptr;
    std::size_t size_ = 0;
};

// Never destroyed: pictures in static storage give their memory back at exit.
KeptBuffer& kept()
{
    static KeptBuffer* const buffer = new KeptBuffer;
    return *buffer;
}

}  // namespace

void* allocate_pixel_memory(std::size_t bytes)
{
    const std::size_t whole_pages = in_huge_pages(bytes);
    void* memory = nullptr;
    if (whole_pages == 0) {
        memory = std::malloc(bytes);
    } else if ((memory = kept().take(whole_pages)) == nullptr) {
        // Whole huge pages, starting on one, so that every page can be huge.
        memory = std::aligned_alloc(huge_page, whole_pages);
#if defined(MADV_HUGEPAGE)
        if (memory != nullptr) madvise(memory, whole_pages, MADV_HUGEPAGE);  // advice only
#endif
    }
    if (memory == nullptr && bytes > 0) throw std::bad_alloc();
    return memory;
}

void release_pixel_memory(void* memory, std::size_t bytes) noexcept
{
    const std::size_t whole_pages = in_huge_pages(bytes);
    if (memory != nullptr && whole_pages > 0)
        kept().keep(memory, whole_pages);
    else
        std::free(memory);
}

}  // namespace korven
