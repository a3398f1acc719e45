#include "app/images.h"

#include <QDir>
#include <QResource>

namespace qh::app {

bool ImageLibrary::Load(const QString& folder) {
    const QString path = QDir(folder).filePath(QStringLiteral("Images.rcc"));
    loaded_ = QResource::registerResource(path) && QResource(QStringLiteral(":/IMGUnknown")).isValid();
    return loaded_;
}

QPixmap ImageLibrary::Picture(const QString& name) const {
    if (!loaded_) return {};
    return QPixmap(QStringLiteral(":/") + name);
}

QImage ToQImage(const Bitmap& bitmap) {
    QImage image(bitmap.width, bitmap.height, QImage::Format_RGB888);
    for (int y = 0; y < bitmap.height; ++y) {
        const std::uint8_t* in = bitmap.Pixel(0, y);
        uchar* out = image.scanLine(y);
        for (int x = 0; x < bitmap.width; ++x, in += 3, out += 3) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
        }
    }
    return image;
}

Bitmap FromQImage(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_RGB888);
    Bitmap bitmap = Bitmap::Create(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y) {
        const uchar* in = image.constScanLine(y);
        std::uint8_t* out = bitmap.Pixel(0, y);
        for (int x = 0; x < image.width(); ++x, in += 3, out += 3) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
        }
    }
    return bitmap;
}

}  // namespace qh::app
