// BMP files through our own codec, read and written a piece at a time
// (jpeg_reader.cpp reads JPEG files). Saving goes to a temporary file beside
// the target, renamed over it only when whole.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <span>

#include "files/bmp_format.h"
#include "files/image_files.h"
#include "files/png_reader.h"

namespace fe {

namespace {

using korven::file_failure;

// An open file, closed when it goes. Opening never waits: a pipe with no
// writer would hold the program up for good.
class OpenFile {
public:
    explicit OpenFile(const std::string& path)
        : descriptor_(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK))
    {
    }
    ~OpenFile()
    {
        if (descriptor_ >= 0) close(descriptor_);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    int descriptor() const { return descriptor_; }

    // Reads `length` bytes at `offset`; false if they cannot all be read.
    bool read_at(std::uint64_t offset, std::size_t length, std::uint8_t* to) const
    {
        for (std::size_t done = 0; done < length;) {
            const ssize_t got = pread(descriptor_, to + done, length - done, static_cast<off_t>(offset + done));
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) return false;  // an error, or the file got shorter
            done += static_cast<std::size_t>(got);
        }
        return true;
    }

private:
    int descriptor_;
};

// An open file read straight into the decoder's memory.
class FileBytes final : public korven::bmp::FileReader {
public:
    FileBytes(const OpenFile& file, std::uint64_t size) : file_(file), size_(size) {}

    std::uint64_t size() const override { return size_; }
    bool read(std::uint64_t offset, std::size_t length, std::uint8_t* to) override
    {
        return file_.read_at(offset, length, to);
    }

private:
    const OpenFile& file_;
    std::uint64_t size_;
};

}  // namespace

FileResult load_file(korven::Picture& bitmap, const std::string& path)
{
    const OpenFile file(path);
    struct stat info {};
    if (file.descriptor() < 0)
        return file_failure(errno == ENOENT ? "the file does not exist" : "the file cannot be read");
    if (fstat(file.descriptor(), &info) != 0) return file_failure("the file cannot be read");
    if (S_ISDIR(info.st_mode)) return file_failure("it is a folder, not a picture file");
    if (!S_ISREG(info.st_mode)) return file_failure("the file cannot be read");
    if (info.st_size > largest_image_file) return file_failure("the file is too large");

    FileBytes bytes(file, static_cast<std::uint64_t>(info.st_size));
    korven::bmp::DecodeResult decoded = korven::bmp::decode(bytes);
    if (!decoded.ok()) return file_failure(decoded.error);
    bitmap = std::move(decoded.picture);
    return {};
}

long long picture_file_pixels(const std::string& path)
{
    const OpenFile file(path);
    if (file.descriptor() < 0) return 0;
    std::uint8_t start[154];
    ssize_t got = 0;
    do got = pread(file.descriptor(), start, sizeof start, 0);
    while (got < 0 && errno == EINTR);
    if (got <= 0) return 0;
    if (got >= 2 && start[0] == 0xff && start[1] == 0xd8) return jpeg_header_pixels(path);
    const std::span<const std::uint8_t> bytes(start, static_cast<std::size_t>(got));
    if (const long long png_pixels = png_header_pixels(bytes); png_pixels > 0) return png_pixels;
    return korven::bmp::header_pixels(bytes);
}

FileResult save_file(const korven::Picture& bitmap, const std::string& path, Durability durability)
{
    if (bitmap.empty()) return file_failure("there is no picture to save");
    korven::OutputFile file(path, durability);
    if (!file.failure().empty()) return file_failure(file.failure());
    korven::bmp::write(bitmap.view(), [&](std::span<const std::uint8_t> bytes) {
        return file.write(bytes.data(), bytes.size());
    });
    return file.commit();
}

}  // namespace fe
