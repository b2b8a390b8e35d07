#include "resources/AppIcon.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

// The resources live in a static library: their registration must be pulled in by hand.
static void InitBrimwellResources() {
    Q_INIT_RESOURCE(resources);
    Q_INIT_RESOURCE(pictures);
}

namespace brimwell {

void EnsureResources() {
    static const bool done = [] {
        InitBrimwellResources();
        return true;
    }();
    (void)done;
}

QImage RenderAppIcon(int size) {
    EnsureResources();
    QSvgRenderer renderer(QStringLiteral(":/icons/brimwell.svg"));
    if (!renderer.isValid() || size <= 0) {
        return {};
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    return image;
}

QIcon AppIcon() {
    QIcon icon;
    for (int size : kAppIconSizes) {
        const QImage image = RenderAppIcon(size);
        if (image.isNull()) {
            return {};
        }
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

} // namespace brimwell
