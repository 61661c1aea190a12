// Image files: BMP through our own codec, JPEG through Qt's reader. Saving
// goes to a temporary file beside the target, renamed over it only when whole.
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QSaveFile>

#include <cstring>

#include "platform/bmp_format.h"
#include "platform/image_files.h"
#include "platform/testing.h"

namespace fe {

namespace {

FileResult failure(std::string reason) { return FileResult{false, std::move(reason)}; }

}  // namespace

FileResult load_file(Bitmap& bitmap, const std::string& path)
{
    QFile file(QString::fromStdString(path));
    const QFileInfo info(file);
    if (!info.exists()) return failure("the file does not exist");
    if (info.isDir()) return failure("it is a folder, not a picture file");
    if (info.size() > largest_image_file) return failure("the file is too large");
    if (!file.open(QIODevice::ReadOnly)) return failure("the file cannot be read");
    const QByteArray bytes = file.readAll();
    if (bytes.size() != info.size()) return failure("the file cannot be read");

    korven::bmp::DecodeResult decoded = korven::bmp::decode(
        {reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size())});
    if (!decoded.ok()) return failure(decoded.error);
    bitmap = std::move(decoded.picture);
    return {};
}

FileResult save_file(const Bitmap& bitmap, const std::string& path)
{
    if (bitmap.empty()) return failure("there is no picture to save");
    const std::vector<std::uint8_t> bytes = korven::bmp::encode(bitmap.view());
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly)) return failure(file.errorString().toStdString());
    qint64 length = static_cast<qint64>(bytes.size());
    bool& fail_now = testing::script().fail_next_write;
    if (fail_now) {  // the test hook's stand-in for a full disk
        length /= 2;
        fail_now = false;
        file.write(reinterpret_cast<const char*>(bytes.data()), length);
        file.cancelWriting();
        file.commit();
        return failure("the disk is full");
    }
    if (file.write(reinterpret_cast<const char*>(bytes.data()), length) != length || !file.commit())
        return failure(file.errorString().toStdString());
    return {};
}

FileResult read_jpeg(const std::string& path, Bitmap& picture)
{
    const QFileInfo info(QString::fromStdString(path));
    if (!info.exists()) return failure("the file does not exist");
    if (info.size() > largest_image_file) return failure("the file is too large");
    QImageReader reader(info.filePath(), "jpeg");
    reader.setAutoTransform(true);
    reader.setAllocationLimit(1024);  // megabytes: room for a 16000 x 16000 photo
    const QSize size = reader.size();
    if (size.width() > 32767 || size.height() > 32767)
        return failure("the picture is larger than 32767 pixels on a side");
    if (static_cast<long long>(size.width()) * size.height() * 4 > reader.allocationLimit() * (1LL << 20))
        return failure("the picture is too large for memory");
    QImage image = reader.read();
    if (image.isNull()) return failure("it is not a JPEG picture this program can read ("
                                       + reader.errorString().toStdString() + ")");
    image = image.convertToFormat(QImage::Format_RGBX8888);
    // RGBX8888 holds bytes R, G, B, X: our colour values once X is cleared.
    Bitmap decoded(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y) {
        const auto* from = reinterpret_cast<const korven::Colour*>(image.constScanLine(y));
        korven::Colour* to = decoded.row(y);
        std::memcpy(to, from, static_cast<std::size_t>(image.width()) * sizeof(korven::Colour));
        for (int x = 0; x < image.width(); ++x) to[x] &= 0xFFFFFFu;
    }
    picture = std::move(decoded);
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
