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

QIcon AppIcon() {
    EnsureResources();
    QSvgRenderer renderer(QStringLiteral(":/icons/brimwell.svg"));
    QIcon icon;
    if (!renderer.isValid()) {
        return icon;
    }
    for (int size : kAppIconSizes) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace brimwell
