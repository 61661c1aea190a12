// BMP files through our own codec, read and written a piece at a time, and
// JPEG files written through Qt (jpeg_reader.cpp reads them). Saving goes to
// a temporary file beside the target, renamed over it only when whole.
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QSaveFile>
#include <QTemporaryFile>

#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>

#include "platform/bmp_format.h"
#include "platform/image_files.h"
#include "platform/testing.h"

namespace fe {

namespace {

FileResult failure(std::string reason) { return FileResult{false, std::move(reason)}; }

// An open file read straight into the decoder's memory, without Qt's buffer.
class FileBytes final : public korven::bmp::FileReader {
public:
    explicit FileBytes(QFile& file) : file_(file) {}

    std::uint64_t size() const override { return static_cast<std::uint64_t>(file_.size()); }

    bool read(std::uint64_t offset, std::size_t length, std::uint8_t* to) override
    {
        if (!file_.seek(static_cast<qint64>(offset))) return false;
        for (std::size_t done = 0; done < length;) {
            const qint64 got = file_.read(reinterpret_cast<char*>(to + done),
                                          static_cast<qint64>(length - done));
            if (got <= 0) return false;  // an error, or the file got shorter
            done += static_cast<std::size_t>(got);
        }
        return true;
    }

private:
    QFile& file_;
};

}  // namespace

FileResult load_file(Bitmap& bitmap, const std::string& path)
{
    QFile file(QString::fromStdString(path));
    const QFileInfo info(file);
    if (!info.exists()) return failure("the file does not exist");
    if (info.isDir()) return failure("it is a folder, not a picture file");
    if (info.size() > largest_image_file) return failure("the file is too large");
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return failure("the file cannot be read");

    FileBytes bytes(file);
    korven::bmp::DecodeResult decoded = korven::bmp::decode(bytes);
    if (!decoded.ok()) return failure(decoded.error);
    bitmap = std::move(decoded.picture);
    return {};
}

long long picture_file_pixels(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return 0;
    const QByteArray start = file.read(154);
    if (start.startsWith("\xff\xd8")) return jpeg_header_pixels(path);
    return korven::bmp::header_pixels(
        {reinterpret_cast<const std::uint8_t*>(start.constData()), static_cast<std::size_t>(start.size())});
}

FileResult save_file(const Bitmap& bitmap, const std::string& path, Durability durability)
{
    if (bitmap.empty()) return failure("there is no picture to save");
    // QSaveFile forces the file onto the disk before the rename; a temporary
    // file renamed over the target leaves that to the system.
    QSaveFile synced(QString::fromStdString(path));
    QTemporaryFile cached(QString::fromStdString(path) + ".XXXXXX");
    QFileDevice& file = durability == Durability::on_disk ? static_cast<QFileDevice&>(synced) : cached;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failure(file.errorString().toStdString());

    // The test hook's stand-in for a full disk: the write stops after the headers.
    const bool disk_full = std::exchange(testing::script().fail_next_write, false);
    bool headers_written = false;
    const bool whole = korven::bmp::write(bitmap.view(), [&](std::span<const std::uint8_t> bytes) {
        if (disk_full && std::exchange(headers_written, true)) return false;
        const auto length = static_cast<qint64>(bytes.size());
        return file.write(reinterpret_cast<const char*>(bytes.data()), length) == length;
    });
    const std::string reason = disk_full ? "the disk is full" : file.errorString().toStdString();
    if (durability == Durability::on_disk) {
        if (!whole) synced.cancelWriting();
        if (synced.commit() && whole) return {};
        return failure(whole ? synced.errorString().toStdString() : reason);
    }
    if (!whole) return failure(reason);  // the temporary file removes itself
    // A temporary file is private to its owner; the file it becomes is not.
    const QFileInfo target(QString::fromStdString(path));
    cached.setPermissions(target.exists() ? target.permissions()
                                          : QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                QFileDevice::ReadGroup | QFileDevice::ReadOther);
    cached.close();
    std::error_code error;
    std::filesystem::rename(cached.fileName().toStdString(), path, error);
    if (error) return failure(error.message());
    cached.setAutoRemove(false);  // it is the target now
    return {};
}

FileResult write_jpeg(const Bitmap& picture, const std::string& path, int quality)
{
    const QImage image(reinterpret_cast<const uchar*>(picture.pixels().data()), picture.width(),
                       picture.height(), picture.width() * 4, QImage::Format_RGBX8888);
    if (!image.save(QString::fromStdString(path), "JPEG", quality))
        return failure("the JPEG file cannot be written");
    return {};
}

}  // namespace fe
