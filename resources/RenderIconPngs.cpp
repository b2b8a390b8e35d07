// Build-time tool: writes the application icon as PNG files in the hicolor theme layout,
// DIR/<n>x<n>/apps/brimwell.png for every size the window uses, from the same drawing as the
// window's icon. Needs no display.
#include "resources/AppIcon.h"

#include <QDir>
#include <QString>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    for (int size : brimwell::kAppIconSizes) {
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(root).arg(size);
        const QImage image = brimwell::RenderAppIcon(size);
        if (image.isNull() || !QDir().mkpath(dir) ||
            !image.save(dir + QStringLiteral("/brimwell.png"), "PNG")) {
            std::fprintf(stderr, "cannot write the %dx%d icon under %s\n", size, size, argv[1]);
            return 1;
        }
    }
    return 0;
}
