#pragma once
// Whether a large allocation can succeed, asked before a picture is made, so
// that a command too large for this machine is refused with a message instead
// of failing half-way.

#include <cstdint>

namespace korven {

// What bounds the memory of this process. A limit of 0 means "none known".
struct MemoryLimits {
    std::uint64_t physical_bytes = 0;       // memory installed in the machine
    std::uint64_t address_space_bytes = 0;  // the process's address-space limit (RLIMIT_AS)
    std::uint64_t address_space_used = 0;   // address space the process holds now
};

// The limits as the system states them now.
MemoryLimits measured_memory_limits();

// The limits the program goes by: the measured ones in the program
// (memory_probe.cpp); tests link a stand-in that can make this machine small.
MemoryLimits current_memory_limits();

// True when `bytes` more fit both limits: no more than the physical memory,
// and no more than the address space left below the limit, where one is set.
bool allocation_fits(std::uint64_t bytes, const MemoryLimits& limits);

// The same against the current limits.
bool allocation_fits(std::uint64_t bytes);

// The memory installed in the machine by the current limits; 0 when it cannot be told.
std::uint64_t physical_memory_bytes();

// Bytes of a picture of `width` x `height` colour values (0 for a side below 1);
// never overflows.
std::uint64_t picture_bytes(int width, int height);

}  // namespace korven
