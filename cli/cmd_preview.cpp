#include "cli/CliPlatform.h"
#include "cli/Commands.h"
#include "cli/PreviewPicture.h"
#include "printer/PrinterJob.h"
#include "text/Translate.h"

#include <limits>

namespace brimwell::cli {
namespace {

// Writes the picture through the output opener: beside OUT first, put in place only when
// written whole, so OUT is either the old file or the whole new picture. An empty result
// is done; else the message for standard error.
std::string WritePicture(const std::vector<std::uint8_t>& png, const std::string& out) {
    IDeviceOpener& opener = NativeOutputOpener();
    const std::unique_ptr<IDeviceHandle> file = opener.OpenForWrite(out);
    if (!file) {
        return WithReason(FormatMessage(Tr(kMsgCantOpen), out), opener.LastOpenReason());
    }
    std::uint32_t written = 0;
    if (png.size() > std::numeric_limits<std::uint32_t>::max() ||
        !file->Write(png.data(), static_cast<std::uint32_t>(png.size()), &written) ||
        written != png.size() || !file->Commit()) {
        return WithReason(FormatMessage(Tr(kMsgWriteFailure), out), file->FailureReason());
    }
    return {};
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
        return Usage(Tr("preview needs one FILE"));
    }
    const auto out = args.Last("--png");
    if (!out || out->empty()) {
        return Usage(Tr("preview needs --png OUT"));
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

    std::string reason;
    const std::vector<std::uint8_t> png = LabelPreviewPng(logo, &reason);
    const std::string failure = png.empty()
                                    ? WithReason(FormatMessage(Tr(kMsgCantOpen), *out), reason)
                                    : WritePicture(png, *out);
    if (!failure.empty()) {
        Outcome failed = Refused(failure);
        failed.status = EXIT_PRINTER;
        return failed;
    }
    if (!logo.IsLoaded()) {
        return Refused(LogoRefusal(logo.GetStatus()));
    }
    return Done();
}

} // namespace brimwell::cli
