#include "resources/Pictures.h"

#include "resources/AppIcon.h"

#include <QImage>
#include <QResource>
#include <cstdint>
#include <cstring>

namespace brimwell {
namespace {

// The picture resource at `path` copied into an image; null when it is missing or malformed.
QImage ReadPicture(const QString& path) {
    const QResource resource(path);
    if (!resource.isValid() || resource.compressionAlgorithm() != QResource::NoCompression) {
        return {};
    }
    const auto* data = resource.data();
    const qint64 bytes = resource.size();
    std::uint32_t size[2] = {};
    if (!data || bytes < static_cast<qint64>(sizeof size)) {
        return {};
    }
    std::memcpy(size, data, sizeof size);
    // The pictures are a few hundred pixels wide and high, twice that for dense screens; the
    // limit keeps the product small.
    constexpr std::uint32_t kMaxSide = 4096;
    if (size[0] == 0 || size[1] == 0 || size[0] > kMaxSide || size[1] > kMaxSide ||
        bytes != static_cast<qint64>(sizeof size + 4ull * size[0] * size[1])) {
        return {};
    }
    QImage image(static_cast<int>(size[0]), static_cast<int>(size[1]), QImage::Format_RGB32);
    const std::size_t rowBytes = 4u * size[0];
    for (int y = 0; y < image.height(); ++y) {
        std::memcpy(image.scanLine(y), data + sizeof size + rowBytes * static_cast<std::size_t>(y),
                    rowBytes);
    }
    return image;
}

} // namespace

QPixmap LoadPicture(int nResourceId, qreal devicePixelRatio) {
    EnsureResources();
    if (devicePixelRatio > 1) {
        QImage dense = ReadPicture(QStringLiteral(":/pictures/%1@2x.xrgb").arg(nResourceId));
        if (!dense.isNull()) {
            dense.setDevicePixelRatio(2);
            return QPixmap::fromImage(std::move(dense));
        }
    }
    return QPixmap::fromImage(ReadPicture(QStringLiteral(":/pictures/%1.xrgb").arg(nResourceId)));
}

} // namespace brimwell
