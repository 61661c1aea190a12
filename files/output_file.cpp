#include "files/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <system_error>
#include <utility>
#include <vector>

namespace korven {

namespace {

std::string reason_of(int error)
{
    if (error == ENOSPC || error == EDQUOT) return "the disk is full";
    return std::error_code(error, std::generic_category()).message();
}

// The permissions a new file gets: read and write for all, less the process's
// umask, read from /proc since umask() itself would change it for every thread.
mode_t new_file_mode()
{
    mode_t mask = 022;
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("Umask:", 0) == 0) {
            mask = static_cast<mode_t>(std::stoul(line.substr(6), nullptr, 8));
            break;
        }
    }
    return 0666 & ~mask;
}

}  // namespace

OutputFile::OutputFile(std::string path, Durability durability)
    : path_(std::move(path)), temporary_(path_ + ".XXXXXX"), durability_(durability)
{
    std::vector<char> name(temporary_.begin(), temporary_.end());
    name.push_back('\0');
    descriptor_ = mkostemp(name.data(), O_CLOEXEC);
    if (descriptor_ < 0) {
        failure_ = reason_of(errno);
        return;
    }
    temporary_.assign(name.data());
}

OutputFile::~OutputFile()
{
    if (descriptor_ >= 0) {
        close(descriptor_);
        unlink(temporary_.c_str());
    }
}

bool OutputFile::write(std::span<const std::byte> bytes)
{
    if (descriptor_ < 0 || !failure_.empty()) return false;
    if (write_all(descriptor_, bytes.data(), bytes.size())) return true;
    failure_ = reason_of(errno);
    return false;
}

FileResult OutputFile::commit()
{
    if (descriptor_ < 0 || !failure_.empty()) return file_failure(failure_);
    struct stat target {};
    const mode_t mode = stat(path_.c_str(), &target) == 0 ? target.st_mode & 07777 : new_file_mode();
    bool done = fchmod(descriptor_, mode) == 0;
    if (done && durability_ == Durability::on_disk) done = fsync(descriptor_) == 0;
    const int error = done ? 0 : errno;
    // close() also reports a write the system had deferred.
    const bool closed = close(descriptor_) == 0;
    const int close_error = errno;
    descriptor_ = -1;
    if (!done || !closed || std::rename(temporary_.c_str(), path_.c_str()) != 0) {
        const int why = !done ? error : !closed ? close_error : errno;
        unlink(temporary_.c_str());
        return file_failure(reason_of(why));
    }
    return {};
}

bool write_bytes_to_system(int descriptor, const std::byte* bytes, std::size_t length)
{
    while (length > 0) {
        const ssize_t written = ::write(descriptor, bytes, length);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (written == 0) {  // nothing taken and no error: stop rather than spin
            errno = EIO;
            return false;
        }
        bytes += written;
        length -= static_cast<std::size_t>(written);
    }
    return true;
}

}  // namespace korven
