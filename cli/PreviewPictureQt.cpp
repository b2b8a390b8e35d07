#include "cli/PreviewPicture.h"
#include "draw/LabelPreviewPainter.h"

#include <QBuffer>
#include <QGuiApplication>
#include <cstdio>

namespace brimwell::cli {
namespace {

// Fonts need a GUI application object; the offscreen platform gives one without a display.
// It lives to the end of the process, so it outlives the preview's fonts, made after it.
void EnsureGuiApplication() {
    if (QCoreApplication::instance()) {
        return;
    }
    static int argc = 3;
    static char arg0[] = "brimwell-cli";
    static char arg1[] = "-platform";
    static char arg2[] = "offscreen";
    static char* argv[] = {arg0, arg1, arg2, nullptr};
    // The companion's standard error carries its own messages only; Qt's notes about the
    // environment (no runtime directory and the like) would read as part of them.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg) {
            std::fprintf(stderr, "brimwell-cli: %s\n", text.toLocal8Bit().constData());
        }
    });
    static QGuiApplication app(argc, argv);
}

} // namespace

std::vector<std::uint8_t> LabelPreviewPng(const CLogoFmtHandler& logo, std::string* reason) {
    EnsureGuiApplication();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !RenderLabelPreview(logo).save(&buffer, "PNG")) {
        *reason = buffer.errorString().toStdString();
        return {};
    }
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

} // namespace brimwell::cli
