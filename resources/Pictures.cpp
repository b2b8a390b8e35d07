#include "resources/Pictures.h"

#include "resources/AppIcon.h"

#include <QImage>
#include <future>
#include <map>
#include <system_error>
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

// The picture for a screen of `dense` pixels (a device pixel ratio above 1): the double-size
// drawing, else (missing) the picture itself. Any thread (QImage is reentrant).
QImage DecodePicture(int nResourceId, bool dense) {
    QImage image;
    if (dense) {
        image = ReadPicture(QStringLiteral(":/pictures/%1@2x.png").arg(nResourceId), 2);
    }
    if (image.isNull()) {
        image = ReadPicture(QStringLiteral(":/pictures/%1.png").arg(nResourceId), 1);
    }
    return image;
}

using PictureKey = std::pair<int, bool>; // resource id, dense

// Both kept for the life of the process and never destroyed: a pixmap must not outlive the
// application object, which goes before the statics do. Window's thread only.
std::map<PictureKey, QPixmap>& Loaded() {
    static auto* const loaded = new std::map<PictureKey, QPixmap>;
    return *loaded;
}
std::map<PictureKey, std::future<QImage>>& Decoding() {
    static auto* const decoding = new std::map<PictureKey, std::future<QImage>>;
    return *decoding;
}

} // namespace

void PrefetchPicture(int nResourceId, qreal devicePixelRatio) {
    EnsureResources(); // registered here, before another thread reads them
    const PictureKey key{nResourceId, devicePixelRatio > 1};
    if (Loaded().count(key) != 0 || Decoding().count(key) != 0) {
        return;
    }
    try {
        Decoding()[key] = std::async(std::launch::async, &DecodePicture, key.first, key.second);
    } catch (const std::system_error&) {
        Decoding().erase(key); // no thread to be had: LoadPicture decodes it itself
    }
}

QPixmap LoadPicture(int nResourceId, qreal devicePixelRatio) {
    EnsureResources();
    const PictureKey key{nResourceId, devicePixelRatio > 1};
    std::map<PictureKey, QPixmap>& loaded = Loaded();
    const auto it = loaded.find(key);
    if (it != loaded.end()) {
        return it->second;
    }
    QImage image;
    const auto pending = Decoding().find(key);
    if (pending != Decoding().end()) {
        image = pending->second.get();
        Decoding().erase(pending);
    } else {
        image = DecodePicture(key.first, key.second);
    }
    QPixmap& pixmap = loaded[key];
    pixmap = QPixmap::fromImage(std::move(image));
    return pixmap;
}

} // namespace brimwell
