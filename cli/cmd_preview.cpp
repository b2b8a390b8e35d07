#include "cli/CliPlatform.h"
#include "cli/Commands.h"
#include "draw/LabelPreviewPainter.h"
#include "printer/PrinterJob.h"

#include <QGuiApplication>
#include <QSaveFile>
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

// Writes the picture beside OUT and renames it into place, so OUT is either the old file or
// the whole new picture, never a half-written one. *reason receives the system's words for a
// failure.
bool SavePng(const QImage& picture, const std::string& out, std::string* reason) {
    QSaveFile file(QString::fromStdString(out));
    if (file.open(QIODevice::WriteOnly) && picture.save(&file, "PNG") && file.commit()) {
        return true;
    }
    *reason = file.errorString().toStdString();
    return false;
}

} // namespace

// preview FILE [--rotate] [--invert] ... --png OUT: draws the label preview of the logo as the
// page shows it (610 x 380) into a PNG file. A file that does not load is drawn as its status
// message, and the command then reports that message with the refused status.
Outcome RunPreview(Context& ctx) {
    const ArgList args(ctx.args, {"--png"}, {"--rotate", "--invert"});
    if (!args.ok()) {
        return Usage(args.error());
    }
    if (args.positionals().size() != 1) {
        return Usage("preview needs one FILE");
    }
    const auto out = args.Last("--png");
    if (!out || out->empty()) {
        return Usage("preview needs --png OUT");
    }

    CLogoFmtHandler logo(NativeFileSource());
    logo.LoadFile(args.positionals().front());
    if (logo.IsLoaded()) {
        for (const auto& option : args.options()) {
            if (option.first == "--invert") {
                logo.Invert();
            } else if (option.first == "--rotate" && !logo.Rotate()) {
                return Refused(LogoStatusMessage(LOGO_NO_MEMORY));
            }
        }
    }

    EnsureGuiApplication();
    std::string reason;
    if (!SavePng(RenderLabelPreview(logo), *out, &reason)) {
        Outcome failed = Refused(WithReason(FormatMessage(kMsgCantOpen, *out), reason));
        failed.status = EXIT_PRINTER;
        return failed;
    }
    if (!logo.IsLoaded()) {
        return Refused(LogoRefusal(logo.GetStatus()));
    }
    return Done();
}

} // namespace brimwell::cli
