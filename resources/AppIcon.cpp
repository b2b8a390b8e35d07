#include "resources/AppIcon.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace brimwell {

QIcon AppIcon() {
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
