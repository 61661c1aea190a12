#include "platform/png_file.h"

#include <QImage>
#include <QImageWriter>
#include <QSaveFile>

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

}  // namespace fe
