#include "files/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
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

// The permissions a new saved file gets: read and write for all, less the
// process's umask, read from /proc since umask() itself would change it for
// every thread.
mode_t saved_file_mode()
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

// A copy that can be made again is readable by all and writable by its owner.
constexpr mode_t cached_file_mode = 0644;

// A save through a symbolic link replaces the file it points to, not the link.
std::string followed_links(const std::string& path)
{
    std::error_code error;
    if (!std::filesystem::is_symlink(path, error)) return path;
    const std::filesystem::path target = std::filesystem::weakly_canonical(path, error);
    return error ? path : target.string();
}

}  // namespace

OutputFile::OutputFile(const std::string& path, Durability durability)
    : path_(followed_links(path)), temporary_(path_ + ".XXXXXX"), durability_(durability)
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
    const bool replacing = stat(path_.c_str(), &target) == 0;
    const mode_t mode = replacing                              ? target.st_mode & 07777
                        : durability_ == Durability::on_disk ? saved_file_mode()
                                                               : cached_file_mode;
    // Best effort: some file systems (FAT) have no permissions to set.
    fchmod(descriptor_, mode);
    bool done = true;
    if (durability_ == Durability::on_disk) {
        // A file system that cannot sync has nothing to wait for; only a failed write counts.
        done = fsync(descriptor_) == 0 || errno == EINVAL || errno == ENOTSUP;
    }
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
