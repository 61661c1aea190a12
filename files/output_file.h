#pragma once
// Writing a file so that a failure never leaves it truncated or lost: the
// bytes go to a temporary file beside the target, which replaces the target
// only once it is whole.

#include <cstddef>
#include <span>
#include <string>

#include "files/file_result.h"

namespace korven {

// A saved picture is on the disk before it replaces the target; a copy that
// can be made again (a JPEG's BMP file) need not wait for the disk.
enum class Durability { on_disk, in_cache };

class OutputFile {
public:
    // Opens a new temporary file beside `path` (beside the file it links to,
    // for a symbolic link); `failure()` says whether that failed.
    explicit OutputFile(const std::string& path, Durability durability = Durability::on_disk);
    ~OutputFile();  // removes the temporary file unless committed
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Why the temporary file could not be made or written, or "" while all is well.
    const std::string& failure() const { return failure_; }

    // Appends bytes; false once any write has failed (see `failure()`).
    bool write(std::span<const std::byte> bytes);
    bool write(const void* bytes, std::size_t length)
    {
        return write(std::span(static_cast<const std::byte*>(bytes), length));
    }

    // Puts the whole file in place of the target, keeping the target's
    // permissions if it existed (a new saved file gets 0666 less the umask, a
    // new cached copy 0644); or says why nothing was replaced. A file never
    // committed is removed, and the target stays as it was.
    FileResult commit();

private:
    std::string path_, temporary_;
    Durability durability_;
    int descriptor_ = -1;
    std::string failure_;
};

// Writes all `length` bytes to the open file `descriptor`; false, with errno
// set, when they cannot all be written.
bool write_bytes_to_system(int descriptor, const std::byte* bytes, std::size_t length);

// Every write of an output file goes through here: the system's own write in
// the program (write_all.cpp); tests link a stand-in that can fail like a full disk.
bool write_all(int descriptor, const std::byte* bytes, std::size_t length);

}  // namespace korven
