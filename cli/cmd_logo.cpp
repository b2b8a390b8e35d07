#include "cli/Commands.h"
#include "logo/LogoJob.h"
#include "platform/posix/PosixDeviceOpener.h"
#include "platform/posix/PosixFileSource.h"
#include "printer/PrinterJob.h"

namespace brimwell::cli {

// logo pass|fail FILE [--rotate] [--invert] ... [--pcx OUT]: loads the logo as the page does,
// applies the turns and inversions in the order given, and stores it as the printer's logo
// file, or with --pcx writes only that file.
Outcome RunLogo(Context& ctx) {
    const ArgList args(ctx.args, {"--pcx"}, {"--rotate", "--invert"});
    if (!args.ok()) {
        return Usage(args.error());
    }
    const auto& pos = args.positionals();
    if (pos.size() != 2) {
        return Usage("logo needs pass or fail and a FILE");
    }
    LogoKind kind;
    if (pos[0] == "pass") {
        kind = LogoKind::Pass;
    } else if (pos[0] == "fail") {
        kind = LogoKind::Fail;
    } else {
        return Usage("logo needs pass or fail, not '" + pos[0] + "'");
    }

    PosixFileSource files;
    CLogoFmtHandler logo(files);
    logo.LoadFile(pos[1]);
    if (!logo.IsLoaded()) {
        return Refused(LogoStatusMessage(logo.GetStatus()));
    }
    for (const auto& option : args.options()) {
        if (option.first == "--invert") {
            logo.Invert();
        } else if (option.first == "--rotate" && !logo.Rotate()) {
            // Sending the logo unturned would store something the user did not ask for.
            return Refused(LogoStatusMessage(LOGO_NO_MEMORY));
        }
    }

    if (const auto out = args.Last("--pcx")) {
        const std::vector<std::uint8_t> pcx = BuildLogoPcxFile(logo);
        OutputFileOpener opener;
        const auto file = opener.OpenForWrite(*out);
        if (!file) {
            Outcome failed = Refused(FormatMessage(kMsgCantOpen, *out));
            failed.status = EXIT_PRINTER;
            return failed;
        }
        const auto length = static_cast<std::uint32_t>(pcx.size());
        std::uint32_t written = 0;
        if (!file->Write(pcx.data(), length, &written) || written != length) {
            Outcome failed = Refused(FormatMessage(kMsgWriteFailure, *out));
            failed.status = EXIT_PRINTER;
            return failed;
        }
        return Done();
    }
    return Job(BuildLogoJob(logo, kind), true);
}

} // namespace brimwell::cli
