#include "cli/CliPlatform.h"
#include "cli/CliText.h"
#include "cli/Commands.h"
#include "logo/LogoJob.h"
#include "text/Translate.h"

namespace brimwell::cli {

std::string LogoRefusal(LogoStatus status) {
    const bool systemFailed = status == LOGO_OPEN_FAILED || status == LOGO_READ_FAILED;
    return WithReason(LogoStatusMessage(status),
                      systemFailed ? NativeFileSource().LastFailureReason() : std::string());
}

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
        // TRANSLATORS: pass and fail are typed as they are written.
        return Usage(Tr("logo needs pass or fail and a FILE"));
    }
    LogoKind kind;
    if (pos[0] == "pass") {
        kind = LogoKind::Pass;
    } else if (pos[0] == "fail") {
        kind = LogoKind::Fail;
    } else {
        // TRANSLATORS: pass and fail are typed as they are written; %s is what was typed.
        return Usage(Fmt(Tr("logo needs pass or fail, not '%s'"), {pos[0]}));
    }

    CLogoFmtHandler logo(NativeFileSource());
    logo.LoadFile(pos[1]);
    if (!logo.IsLoaded()) {
        return Refused(LogoRefusal(logo.GetStatus()));
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
        return FileContent(*out, BuildLogoPcxFile(logo));
    }
    return Job(BuildLogoJob(logo, kind), true);
}

} // namespace brimwell::cli
