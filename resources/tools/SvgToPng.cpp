// Build-time tool: draws an SVG picture into a bitmap of an exact size on a white ground and
// saves it as a 24-bit PNG.
//   brimwell_svg_to_png IN.svg OUT.png WIDTH HEIGHT
#include <QGuiApplication>
#include <QImage>
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
    if (!renderer.isValid() || width <= 0 || height <= 0) {
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
    if (!image.convertToFormat(QImage::Format_RGB888)
             .save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
        return 1;
    }
    return 0;
}
