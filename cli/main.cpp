#include "cli/Commands.h"
#include "platform/posix/PosixDeviceOpener.h"
#include "platform/posix/SystemClock.h"
#include "platform/qt/SettingsProfile.h"
#include "platform/udev/UdevDevices.h"

#include <iostream>

int main(int argc, char** argv) {
    using namespace brimwell;
    SettingsProfile profile;
    SystemLocalClock clock;
    UdevEnumerator enumerator;
    PosixDeviceOpener printerOpener;
    OutputFileOpener outputOpener;
    SystemTicks ticks;
    cli::CliServices services{profile, clock, enumerator, printerOpener, outputOpener, ticks};
    const std::vector<std::string> args(argv + 1, argv + argc);
    return cli::RunCli(args, services, std::cout, std::cerr);
}
