#include "cli/CliPlatform.h"

#include "cli/Commands.h"

#include <iostream>

#ifdef _WIN32
#include "platform/windows/RegistryProfile.h"
#include "platform/windows/SetupApiEnumerator.h"
#include "platform/windows/WinDeviceOpener.h"
#include "platform/windows/WinDoctorProbe.h"
#include "platform/windows/WinFileSource.h"
#include "platform/windows/WinModule.h"
#include "platform/windows/WinSystemClock.h"
#include "platform/windows/WinText.h"
#else
#include "platform/linux/LinuxDoctorProbe.h"
#include "platform/linux/PosixDeviceOpener.h"
#include "platform/linux/PosixFileSource.h"
#include "platform/linux/SettingsProfile.h"
#include "platform/linux/SystemClock.h"
#include "platform/linux/UdevDevices.h"
#endif

namespace brimwell::cli {
namespace {

#ifdef _WIN32
using NativeProfile = RegistryProfile;
using NativeClock = WinLocalClock;
using NativeEnumerator = SetupApiEnumerator;
using NativePrinterOpener = WinDeviceOpener;
using NativeOutput = WinOutputFileOpener;
using NativeTicks = WinTicks;
using NativeFiles = WinFileSource;
using NativeDoctor = WinDoctorProbe;

// Windows hands the program its arguments as UTF-16; argv would already have lost what
// the ANSI code page cannot hold.
std::vector<std::string> Arguments(int, char**) {
    return ProcessArguments();
}

void PrepareProcess() {
    SearchSystemFolderOnly();
}
#else
using NativeProfile = SettingsProfile;
using NativeClock = SystemLocalClock;
using NativeEnumerator = UdevEnumerator;
using NativePrinterOpener = PosixDeviceOpener;
using NativeOutput = OutputFileOpener;
using NativeTicks = SystemTicks;
using NativeFiles = PosixFileSource;
using NativeDoctor = LinuxDoctorProbe;

std::vector<std::string> Arguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

void PrepareProcess() {}
#endif

} // namespace

#ifdef _WIN32
// Windows lets one program at a time open a USB printer: a refusal means another program or a
// print queue on the printer's port holds it.
const char* const kPermissionHint =
    "Another program or a print queue holds the printer: close it or pause that queue, then "
    "try again ('brimwell-cli doctor' shows what holds it).";
#else
const char* const kPermissionHint =
    "This user may not write to the printer: install the udev rule that comes with "
    "brimwell-cli (70-brimwell.rules, see the README) or join group lp, then log in again.";
#endif

IFileSource& NativeFileSource() {
    static NativeFiles files;
    return files;
}

IDeviceOpener& NativeOutputOpener() {
    static NativeOutput output;
    return output;
}

int RunNative(int argc, char** argv) {
    PrepareProcess();
    NativeProfile profile;
    NativeClock clock;
    NativeEnumerator enumerator;
    NativePrinterOpener printerOpener;
    NativeTicks ticks;
    NativeDoctor doctor;
    CliServices services{profile, clock,  enumerator, printerOpener, NativeOutputOpener(),
                         ticks,   &doctor};
    return RunCli(Arguments(argc, argv), services, std::cout, std::cerr);
}

} // namespace brimwell::cli
