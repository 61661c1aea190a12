// Memory for pixel buffers. A 6000 x 4000 photo takes 96 MB: on 4 KB pages
// its first touch is 23 000 page faults, on 2 MB huge pages 46. The last two
// large buffers given back are kept for the next requests they fit, so
// loading photo after photo of one size, or a DRAW that replaces a picture
// nothing keeps, touches no new memory at all.
#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <new>
#include <thread>
#include <unordered_map>
#include <utility>
#include <vector>

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

// Large buffers given back, kept for reuse: at most `most` (two unless set), the newest.
class SpareBuffers {
public:
    // A spare that holds `bytes` without wasting more than half of itself,
    // the smallest such. Spares too small are freed at once, so that they do
    // not add to what the larger request is about to ask of the system.
    void* take(std::size_t bytes)
    {
        const std::lock_guard lock(mutex_);
        std::erase_if(spares_, [&](Spare& spare) {
            if (spare.size >= bytes) return false;
            free(spare);
            return true;
        });
        // Of equal sizes the newest, whose pages are most likely written already.
        auto best = spares_.end();
        for (auto spare = spares_.begin(); spare != spares_.end(); ++spare)
            if (fits(*spare, bytes) && (best == spares_.end() || spare->size <= best->size)) best = spare;
        if (best == spares_.end()) return nullptr;
        void* memory = best->memory;
        if (best->size > bytes) larger_than_asked_[memory] = best->size;
        spares_.erase(best);
        return memory;
    }

    // The newest; the oldest makes room. A spare lent for a smaller picture
    // comes back whole, so it can serve a larger one again.
    void keep(void* memory, std::size_t bytes)
    {
        const std::lock_guard lock(mutex_);
        if (const auto lent = larger_than_asked_.find(memory); lent != larger_than_asked_.end()) {
            bytes = lent->second;
            larger_than_asked_.erase(lent);
        }
        while (!spares_.empty() && spares_.size() >= most_) {
            free(spares_.front());
            spares_.erase(spares_.begin());
        }
        if (most_ > 0) spares_.push_back(Spare{memory, bytes});
        else std::free(memory);
    }

    // Whether `take(bytes)` would find a spare.
    bool holds(std::size_t bytes)
    {
        const std::lock_guard lock(mutex_);
        return std::ranges::any_of(spares_, [&](const Spare& spare) { return fits(spare, bytes); });
    }

    std::size_t bytes()
    {
        const std::lock_guard lock(mutex_);
        std::size_t total = 0;
        for (const Spare& spare : spares_) total += spare.size;
        return total;
    }

    void release()
    {
        const std::lock_guard lock(mutex_);
        for (Spare& spare : spares_) free(spare);
        spares_.clear();
    }

    void set_most(std::size_t most)
    {
        {
            const std::lock_guard lock(mutex_);
            most_ = most;
        }
        release();
    }

private:
    struct Spare {
        void* memory = nullptr;
        std::size_t size = 0;
    };
    static bool fits(const Spare& spare, std::size_t bytes) { return spare.size >= bytes && bytes >= spare.size / 2; }
    static void free(Spare& spare)
    {
        std::free(std::exchange(spare.memory, nullptr));
        spare.size = 0;
    }

    std::mutex mutex_;
    std::vector<Spare> spares_;  // the oldest first
    std::size_t most_ = 2;
    std::unordered_map<void*, std::size_t> larger_than_asked_;  // spares in use, by their whole size
};

// Never destroyed: pictures in static storage give their memory back at exit.
SpareBuffers& spares()
{
    static SpareBuffers* const buffers = new SpareBuffers;
    return *buffers;
}

// Whole huge pages, starting on one, so that every page can be huge; null
// when there is no memory.
void* new_large_buffer(std::size_t whole_pages)
{
    void* memory = std::aligned_alloc(huge_page, whole_pages);
#if defined(MADV_HUGEPAGE)
    if (memory != nullptr) madvise(memory, whole_pages, MADV_HUGEPAGE);  // advice only
#endif
    return memory;
}

// Makes the system give a new buffer all its pages now, so that writing it
// later causes no page fault: in one call where the system offers that.
void touch_pages(void* memory, std::size_t bytes)
{
#if defined(__linux__)
    constexpr int populate_write = 23;  // MADV_POPULATE_WRITE, Linux 5.14 on
    if (madvise(memory, bytes, populate_write) == 0) return;
#endif
    auto* pages = static_cast<volatile unsigned char*>(memory);
    for (std::size_t at = 0; at < bytes; at += 4096) pages[at] = 0;
}

// One buffer prepared at a time, on a thread that waits for the next request;
// a request while one is under way is dropped.
class Preparation {
public:
    void start(std::size_t whole_pages)
    {
        const std::lock_guard lock(mutex_);
        if (wanted_ != 0) return;
        wanted_ = whole_pages;
        if (!worker_.joinable()) worker_ = std::thread([this] { serve(); });
        changed_.notify_all();
    }

    bool under_way()
    {
        const std::lock_guard lock(mutex_);
        return wanted_ != 0;
    }

    void finish()
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return wanted_ == 0; });
    }

    ~Preparation()
    {
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        changed_.notify_all();
        if (worker_.joinable()) worker_.join();
    }

private:
    void serve()
    {
        std::unique_lock lock(mutex_);
        while (true) {
            changed_.wait(lock, [this] { return stopping_ || wanted_ != 0; });
            if (stopping_) return;
            const std::size_t whole_pages = wanted_;
            lock.unlock();
            if (void* memory = new_large_buffer(whole_pages)) {
                touch_pages(memory, whole_pages);
                spares().keep(memory, whole_pages);
            }
            lock.lock();
            wanted_ = 0;
            changed_.notify_all();
        }
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::size_t wanted_ = 0;  // pages of the buffer under way; 0 when idle
    bool stopping_ = false;
    std::thread worker_;
};

Preparation& preparation()
{
    static Preparation instance;
    return instance;
}

}  // namespace

void* allocate_pixel_memory(std::size_t bytes)
{
    const std::size_t whole_pages = in_huge_pages(bytes);
    void* memory = nullptr;
    if (whole_pages == 0) {
        memory = std::malloc(bytes);
    } else if ((memory = spares().take(whole_pages)) == nullptr) {
        memory = new_large_buffer(whole_pages);
    }
    if (memory == nullptr && bytes > 0) throw std::bad_alloc();
    return memory;
}

void release_pixel_memory(void* memory, std::size_t bytes) noexcept
{
    const std::size_t whole_pages = in_huge_pages(bytes);
    if (memory != nullptr && whole_pages > 0)
        spares().keep(memory, whole_pages);
    else
        std::free(memory);
}

std::uint64_t spare_pixel_bytes() { return spares().bytes(); }

void release_spare_pixel_memory() { spares().release(); }

void keep_spare_pixel_buffers(int count, std::size_t bytes_each)
{
    spares().set_most(static_cast<std::size_t>(std::max(count, 0)));
    const std::size_t whole_pages = in_huge_pages(bytes_each);
    if (whole_pages == 0) return;
    for (int i = 0; i < count; ++i)
        if (void* memory = new_large_buffer(whole_pages)) spares().keep(memory, whole_pages);
}

bool pixel_memory_in_hand(std::size_t bytes)
{
    const std::size_t whole_pages = in_huge_pages(bytes);
    return whole_pages == 0 || spares().holds(whole_pages) || preparation().under_way();
}

void prepare_pixel_memory(std::size_t bytes)
{
    if (!pixel_memory_in_hand(bytes)) preparation().start(in_huge_pages(bytes));
}

void finish_preparing_pixel_memory() { preparation().finish(); }

}  // namespace korven
