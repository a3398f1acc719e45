// The companion picture library Images.rcc beside the executable, and conversions between the
// core's bitmaps and Qt's pictures.
#pragma once

#include <QImage>
#include <QPixmap>
#include <QString>
#include <optional>

#include "workspace/picture.h"

namespace qh::app {

class ImageLibrary {
public:
    // Registers Images.rcc from `folder`; false when it is missing or damaged.
    bool Load(const QString& folder);
    bool Loaded() const { return loaded_; }
    // A picture by its name ("IMGUnknown", "IMGDkHouse"); null when the library is not loaded.
    QPixmap Picture(const QString& name) const;

private:
    bool loaded_ = false;
};

QImage ToQImage(const Bitmap& bitmap);
Bitmap FromQImage(const QImage& image);

}  // namespace qh::app
