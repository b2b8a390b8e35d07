#include "cli/CliPlatform.h"

#include "cli/Commands.h"
#include "platform/Languages.h"
#include "text/Translate.h"

#include <iostream>
#include <memory>
#include <streambuf>

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

// Standard output or error when it is a console: the console shows text in its own code page,
// not UTF-8, so the program's UTF-8 (translated messages, names) is written as UTF-16. Whole
// lines are written; a character cut at the end of a write waits for its other bytes. A
// redirected stream keeps the UTF-8 bytes as they are.
class ConsoleBuffer : public std::streambuf {
public:
    explicit ConsoleBuffer(HANDLE console) : m_console(console) {}
    ConsoleBuffer(const ConsoleBuffer&) = delete;
    ConsoleBuffer& operator=(const ConsoleBuffer&) = delete;
    ~ConsoleBuffer() override { Flush(); }

protected:
    int_type overflow(int_type c) override {
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            const char ch = traits_type::to_char_type(c);
            xsputn(&ch, 1);
        }
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char* text, std::streamsize n) override {
        m_pending.append(text, static_cast<std::size_t>(n));
        if (m_pending.find('\n') != std::string::npos) {
            Flush();
        }
        return n;
    }
    int sync() override {
        Flush();
        return 0;
    }

private:
    // The bytes at the end of `text` that start a character whose other bytes are to come.
    static std::size_t CutTail(const std::string& text) {
        for (std::size_t back = 1; back <= 3 && back <= text.size(); ++back) {
            const auto byte = static_cast<unsigned char>(text[text.size() - back]);
            if ((byte & 0xC0) == 0x80) {
                continue; // a continuation byte: its lead is further back
            }
            const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
            return length > back ? back : 0;
        }
        return 0;
    }
    void Flush() {
        const std::size_t whole = m_pending.size() - CutTail(m_pending);
        if (whole == 0) {
            return;
        }
        const std::wstring wide = WideFromUtf8(m_pending.substr(0, whole));
        DWORD written = 0;
        WriteConsoleW(m_console, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        m_pending.erase(0, whole);
    }

    HANDLE m_console;
    std::string m_pending;
};

// Puts a console's buffer under a stream for as long as it lives; a stream that is not a
// console keeps its own.
class ConsoleStream {
public:
    ConsoleStream(std::ostream& stream, DWORD which) : m_stream(stream) {
        const HANDLE handle = GetStdHandle(which);
        DWORD mode = 0;
        if (handle != INVALID_HANDLE_VALUE && handle && GetConsoleMode(handle, &mode)) {
            m_stream.flush();
            m_buffer = std::make_unique<ConsoleBuffer>(handle);
            m_previous = m_stream.rdbuf(m_buffer.get());
        }
    }
    ~ConsoleStream() {
        if (m_buffer) {
            m_stream.flush();
            m_stream.rdbuf(m_previous);
        }
    }
    ConsoleStream(const ConsoleStream&) = delete;
    ConsoleStream& operator=(const ConsoleStream&) = delete;

private:
    std::ostream& m_stream;
    std::unique_ptr<ConsoleBuffer> m_buffer;
    std::streambuf* m_previous = nullptr;
};

// Standard output and error, where they are a console, written to it as UTF-16 while it lives.
class ConsoleOutput {
public:
    ConsoleOutput() : m_out(std::cout, STD_OUTPUT_HANDLE), m_err(std::cerr, STD_ERROR_HANDLE) {}

private:
    ConsoleStream m_out;
    ConsoleStream m_err;
};
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

// A terminal on Linux takes the program's UTF-8 as it is.
class ConsoleOutput {
public:
    ConsoleOutput() {}
};
#endif

} // namespace

#ifdef _WIN32
// Windows lets one program at a time open a USB printer: a refusal means another program or a
// print queue on the printer's port holds it.
// TRANSLATORS: printed after "can't open" on Windows; keep 'brimwell-cli doctor' as it is
// written.
const char* const kPermissionHint =
    N_("Another program or a print queue holds the printer: close it or pause that queue, then "
       "try again ('brimwell-cli doctor' shows what holds it).");
#else
// TRANSLATORS: printed after "can't open" on Linux; brimwell-cli, 70-brimwell.rules, README
// and lp stay as they are written.
const char* const kPermissionHint =
    N_("This user may not write to the printer: install the udev rule that comes with "
       "brimwell-cli (70-brimwell.rules, see the README) or join group lp, then log in again.");
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
    UseUserLanguage();
    const ConsoleOutput console;
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
