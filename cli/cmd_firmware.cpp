#include "cli/CliPlatform.h"
#include "cli/Commands.h"
#include "maintenance/FirmwareFilter.h"
#include "text/Translate.h"

namespace brimwell::cli {

// firmware FILE: reads and filters the update file as the firmware page does and sends the
// preamble and the filtered content. A file the page would refuse is refused with the
// page's own message; its line breaks become the terminal's.
Outcome RunFirmware(Context& ctx) {
    const ArgList args(ctx.args, {}, {});
    if (!args.ok()) {
        return Usage(args.error());
    }
    if (args.positionals().size() != 1) {
        return Usage(Tr("firmware needs one FILE"));
    }
    const std::string& path = args.positionals().front();
    const FirmwareFile firmware = ReadFirmwareFile(NativeFileSource(), path);
    if (firmware.status != FirmwareStatus::Ok) {
        std::string message = FirmwareStatusMessage(firmware.status, path);
        for (auto at = message.find("\r\n"); at != std::string::npos;
             at = message.find("\r\n", at)) {
            message.erase(at, 1);
        }
        const bool systemFailed = firmware.status == FirmwareStatus::OpenFailed ||
                                  firmware.status == FirmwareStatus::ReadFailed;
        return Refused(WithReason(message, systemFailed ? NativeFileSource().LastFailureReason()
                                                        : std::string()));
    }
    return Job(FirmwareJob(firmware.content), true);
}

} // namespace brimwell::cli
