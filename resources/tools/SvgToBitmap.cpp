// Build-time tool: draws an SVG picture into a bitmap of an exact size on a white ground and
// writes it as a picture resource (resources/Pictures.h): a PNG file of 8-bit RGB without
// alpha, at zlib's highest level, with no dates in it (the same SVG gives the same bytes).
//   brimwell_svg_to_bitmap IN.svg OUT.png WIDTH HEIGHT
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s IN.svg OUT.png WIDTH HEIGHT\n", argv[0]);
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

    // An opaque image (RGB32) is written as RGB, and reads back as RGB32 with the same pixels.
    QImageWriter out(QString::fromLocal8Bit(argv[2]), "png");
    out.setQuality(0); // for PNG: the smallest file, zlib level 9
    if (!out.write(image)) {
        std::fprintf(stderr, "%s: cannot write %s: %s\n", argv[0], argv[2],
                     qPrintable(out.errorString()));
        return 1;
    }
    return 0;
}
