// Build-time tool: draws an SVG picture into a bitmap of an exact size on a white ground and
// writes it as a picture resource (resources/Pictures.h): the width and the height as 32-bit
// numbers, then the rows top-down, each pixel a 32-bit 0xffRRGGBB, all in this machine's byte
// order, so that the program loads it with one copy and no decoding.
//   brimwell_svg_to_bitmap IN.svg OUT WIDTH HEIGHT
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s IN.svg OUT WIDTH HEIGHT\n", argv[0]);
        return 2;
    }
    // Text needs the font database of a GUI application, but no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    const int width = std::atoi(argv[3]);
    const int height = std::atoi(argv[4]);
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid() || width <= 0 || height <= 0 || width > 4096 || height > 4096) {
        std::fprintf(stderr, "%s: cannot draw %s at %s x %s\n", argv[0], argv[1], argv[3], argv[4]);
        return 1;
    }
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                           QPainter::SmoothPixmapTransform);
    renderer.render(&painter, QRectF(0, 0, width, height));
    painter.end();

    QFile out(QString::fromLocal8Bit(argv[2]));
    bool ok = out.open(QIODevice::WriteOnly | QIODevice::Truncate);
    const std::uint32_t size[2] = {static_cast<std::uint32_t>(width),
                                   static_cast<std::uint32_t>(height)};
    ok = ok && out.write(reinterpret_cast<const char*>(size), sizeof size) == sizeof size;
    const qint64 rowBytes = static_cast<qint64>(width) * 4;
    for (int y = 0; ok && y < height; ++y) {
        ok = out.write(reinterpret_cast<const char*>(image.constScanLine(y)), rowBytes) == rowBytes;
    }
    if (!ok || !out.flush()) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
        return 1;
    }
    return 0;
}
