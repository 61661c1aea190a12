#include "platform/png_file.h"

#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>

#include <cstring>
#include <utility>

#include "platform/testing.h"

namespace fe {

namespace {

FileResult failure(std::string reason) { return FileResult{false, std::move(reason)}; }

}  // namespace

FileResult save_png_file(const Bitmap& bitmap, const std::string& path)
{
    if (bitmap.empty()) return failure("there is no picture to save");
    // Our colour values are bytes R, G, B, 0 in memory: RGBX8888. As RGB888 the
    // writer stores three 8-bit channels and no alpha.
    const QImage pixels(reinterpret_cast<const uchar*>(bitmap.pixels().data()), bitmap.width(), bitmap.height(),
                        static_cast<qsizetype>(bitmap.width()) * 4, QImage::Format_RGBX8888);
    const QImage rgb = pixels.convertToFormat(QImage::Format_RGB888);
    if (rgb.isNull()) return failure("there is not enough memory for the PNG picture");

    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly)) return failure(file.errorString().toStdString());
    if (std::exchange(testing::script().fail_next_write, false)) {  // the test hook's stand-in for a full disk
        file.cancelWriting();
        file.commit();
        return failure("the disk is full");
    }
    QImageWriter writer(&file, "png");
    if (!writer.write(rgb)) {
        file.cancelWriting();
        file.commit();
        return failure(writer.errorString().toStdString());
    }
    if (!file.commit()) return failure(file.errorString().toStdString());
    return {};
}

FileResult read_png_file(const std::string& path, Bitmap& picture)
{
    QImageReader reader(QString::fromStdString(path), "png");
    const QImage image = reader.read().convertToFormat(QImage::Format_RGBX8888);
    if (image.isNull()) return failure(reader.errorString().toStdString());
    Bitmap read(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y) {
        std::memcpy(read.row(y), image.constScanLine(y), static_cast<std::size_t>(image.width()) * 4);
        for (int x = 0; x < image.width(); ++x) read.row(y)[x] &= 0xFFFFFFu;
    }
    picture = std::move(read);
    return {};
}

}  // namespace fe
