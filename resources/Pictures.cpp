#include "resources/Pictures.h"

#include "resources/AppIcon.h"

#include <QImage>
#include <map>
#include <utility>

namespace brimwell {
namespace {

// The picture resource at `path` decoded as an opaque image of `ratio`; null when it is
// missing or is not a sound PNG.
QImage ReadPicture(const QString& path, qreal ratio) {
    QImage image;
    if (!image.load(path, "PNG")) {
        return {};
    }
    // The build writes RGB without alpha, which Qt reads as RGB32: the pixels as drawn, kept as
    // they are. Any other PNG is converted to RGB32 too (an alpha channel is dropped), so that
    // every picture is an opaque pixmap.
    if (image.format() != QImage::Format_RGB32) {
        image.convertTo(QImage::Format_RGB32);
    }
    image.setDevicePixelRatio(ratio);
    return image;
}

} // namespace

QPixmap LoadPicture(int nResourceId, qreal devicePixelRatio) {
    EnsureResources();
    const bool dense = devicePixelRatio > 1;
    // Kept for the life of the process and never destroyed: a pixmap must not outlive the
    // application object, which goes before the statics do.
    static auto* const loaded = new std::map<std::pair<int, bool>, QPixmap>;
    const auto key = std::make_pair(nResourceId, dense);
    const auto it = loaded->find(key);
    if (it != loaded->end()) {
        return it->second;
    }
    QImage image;
    if (dense) {
        image = ReadPicture(QStringLiteral(":/pictures/%1@2x.png").arg(nResourceId), 2);
    }
    if (image.isNull()) {
        image = ReadPicture(QStringLiteral(":/pictures/%1.png").arg(nResourceId), 1);
    }
    QPixmap& pixmap = (*loaded)[key];
    pixmap = QPixmap::fromImage(std::move(image));
    return pixmap;
}

} // namespace brimwell
