// The Windows platform services under Wine: the registry profile, SetupAPI discovery, the
// device writer, the file source and the UTF-16 command line.
#include "platform/JobControl.h"
#include "platform/windows/RegistryProfile.h"
#include "platform/windows/SetupApiEnumerator.h"
#include "platform/windows/WinDeviceOpener.h"
#include "platform/windows/WinDoctorProbe.h"
#include "platform/windows/WinFileSource.h"
#include "platform/windows/WinSystemClock.h"
#include "platform/windows/WinText.h"
#include "support/CliHarness.h"
#include "tester/ConfigJob.h"
#include "tester/TesterCatalogue.h"

#include <windows.h>

#include <gtest/gtest.h>
#include <sstream>

namespace brimwell::test {
namespace {

const std::string kScratchKey = "Software\\BrimwellTests";

// GetTickCount advances in steps of the system timer, up to about 16 ms.
constexpr std::uint32_t kTickStepMs = 16;

// A scratch profile root under HKEY_CURRENT_USER, removed with everything below it.
class RegistryProfileTest : public ::testing::Test {
protected:
    ~RegistryProfileTest() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, WideFromUtf8(kScratchKey).c_str());
    }
    void Store(DWORD type, const void* data, DWORD size) {
        ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, WideFromUtf8(m_root + "\\Settings").c_str(),
                                  L"TesterType", type, data, size),
                  ERROR_SUCCESS);
    }
    std::string m_root = kScratchKey + "\\Brimwell";
    RegistryProfile m_profile{m_root};
};

TEST_F(RegistryProfileTest, ReadsTheTesterTypeAsTheWindowStoresIt) {
    EXPECT_EQ(m_profile.GetInt(kProfileSection, kProfileTesterType, -7), -7); // nothing stored
    const DWORD code = 1003;
    Store(REG_DWORD, &code, sizeof code);
    EXPECT_EQ(m_profile.GetInt(kProfileSection, kProfileTesterType, 0), 1003);

    // Strings are read as the number they hold, as QSettings reads them; others are refused.
    const struct {
        const wchar_t* text;
        int expected;
    } strings[] = {{L"1005", 1005}, {L" 1002 ", 1002}, {L"-4", -4},        {L"abc", 0},
                   {L"", 0},        {L"10x", 0},       {L"99999999999", 0}};
    for (const auto& s : strings) {
        Store(REG_SZ, s.text, static_cast<DWORD>((wcslen(s.text) + 1) * sizeof(wchar_t)));
        EXPECT_EQ(m_profile.GetInt(kProfileSection, kProfileTesterType, 0), s.expected);
    }
    Store(REG_BINARY, "\x01\x02", 2);
    EXPECT_EQ(m_profile.GetInt(kProfileSection, kProfileTesterType, 9), 9);
}

TEST_F(RegistryProfileTest, WritesADword) {
    ASSERT_TRUE(m_profile.WriteInt(kProfileSection, kProfileTesterType, 1007));
    DWORD value = 0;
    DWORD size = sizeof value;
    ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, WideFromUtf8(m_root + "\\Settings").c_str(),
                           L"TesterType", RRF_RT_REG_DWORD, nullptr, &value, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(value, 1007u);
    EXPECT_EQ(RegistryProfile::DefaultRoot(), "Software\\QuenmarRuravavereDaz\\Brimwell");
}

TEST(SetupApiEnumeratorTest, FindsNoPrinterUnderWine) {
    SetupApiEnumerator enumerator;
    std::vector<RawDeviceInterface> found{RawDeviceInterface{}};
    EXPECT_TRUE(enumerator.Enumerate(found));
    EXPECT_TRUE(found.empty());

    CliHarness cli;
    cli::CliServices real{cli.profile, cli.clock, enumerator, cli.printers, cli.outputs, cli.ticks};
    EXPECT_EQ(cli::RunCli({"list"}, real, cli.out, cli.err), 0);
    EXPECT_EQ(cli.out.str(), "");
    EXPECT_EQ(cli.err.str(), "brimwell-cli: No printer found\n");
}

// Wine shows no USB device: doctor says so, with what to do, and exits with 1.
TEST(WinDoctorProbeTest, FindsNoPrinterUnderWine) {
    CliHarness cli;
    WinDoctorProbe probe;
    cli.services.doctor = &probe;
    EXPECT_EQ(cli.Exec({"doctor"}), 1);
    EXPECT_EQ(cli.out.str().rfind("failed   usb: ", 0), 0u) << cli.out.str();
    EXPECT_EQ(cli.err.str().rfind("brimwell-cli: Switch the printer on", 0), 0u) << cli.err.str();
}

bool Exists(const std::string& path) {
    return GetFileAttributesW(WideFromUtf8(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}
// Writes s and, unless told otherwise, makes it final; the count written or "failed".
std::string Write(IDeviceOpener& opener, const std::string& path, const std::string& s,
                  bool commit = true) {
    auto handle = opener.OpenForWrite(path);
    std::uint32_t written = 0;
    if (!handle ||
        !handle->Write(reinterpret_cast<const std::uint8_t*>(s.data()),
                       static_cast<std::uint32_t>(s.size()), &written) ||
        (commit && !handle->Commit())) {
        return "failed";
    }
    return std::to_string(written);
}
std::string Read(const std::string& path) {
    WinFileSource files;
    auto file = files.OpenForRead(path);
    std::uint64_t size = 0;
    if (!file || !file->QuerySize(&size)) {
        return "refused";
    }
    std::string bytes(static_cast<std::size_t>(size), '\0');
    std::uint32_t got = 0;
    file->Read(reinterpret_cast<std::uint8_t*>(&bytes[0]), static_cast<std::uint32_t>(size), &got);
    return bytes.substr(0, got);
}

// A folder of its own in the temporary folder, removed afterwards.
class FilesTest : public ::testing::Test {
protected:
    FilesTest() {
        wchar_t temp[MAX_PATH + 1];
        GetTempPathW(MAX_PATH + 1, temp);
        m_dir = Utf8FromWide(temp) + "brimwell-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryW(WideFromUtf8(m_dir).c_str(), nullptr);
    }
    ~FilesTest() override {
        for (const char* name : {"\\lp0", "\\job.bin", "\\logo.bmp"}) {
            DeleteFileW(WideFromUtf8(m_dir + name).c_str());
        }
        RemoveDirectoryW(WideFromUtf8(m_dir).c_str());
    }
    std::string m_dir;
};

TEST_F(FilesTest, DeviceWriterRefusesAMissingPathAndCreatesNothing) {
    WinDeviceOpener printers;
    EXPECT_EQ(Write(printers, m_dir + "\\lp0", "job"), "failed");
    EXPECT_EQ(printers.LastOpenReason(), Win32ErrorText(ERROR_FILE_NOT_FOUND));
    EXPECT_NE(printers.LastOpenReason(), "");
    EXPECT_FALSE(Exists(m_dir + "\\lp0"));
    EXPECT_EQ(Write(printers, "", "job"), "failed");

    // An existing path takes the whole job in one request.
    WinOutputFileOpener files;
    EXPECT_EQ(Write(files, m_dir + "\\lp0", "old contents"), "12");
    EXPECT_EQ(Write(printers, m_dir + "\\lp0", "job"), "3");
    EXPECT_EQ(Read(m_dir + "\\lp0"), "job contents"); // written over, not truncated
}

TEST_F(FilesTest, OutputFilesAreCreatedAndTruncatedAndReadBack) {
    WinOutputFileOpener files;
    EXPECT_EQ(Write(files, m_dir + "\\job.bin", std::string("a\r\nb\0c", 6)), "6");
    EXPECT_EQ(Read(m_dir + "\\job.bin"), std::string("a\r\nb\0c", 6)); // no text-mode changes
    EXPECT_EQ(Write(files, m_dir + "\\job.bin", "x"), "1");
    EXPECT_EQ(Read(m_dir + "\\job.bin"), "x");
    // A job that is not made final leaves the file as it was, and no temporary file.
    EXPECT_EQ(Write(files, m_dir + "\\job.bin", "abandoned", false), "9");
    EXPECT_EQ(Read(m_dir + "\\job.bin"), "x");
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(WideFromUtf8(m_dir + "\\*.tmp").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE);
    if (search != INVALID_HANDLE_VALUE) {
        FindClose(search);
    }
    EXPECT_EQ(Read(m_dir), "refused"); // a folder
    EXPECT_EQ(Read(m_dir + "\\missing.bmp"), "refused");
    EXPECT_EQ(Write(files, m_dir + "\\no-such-folder\\job.bin", "x"), "failed");
}

TEST_F(FilesTest, AReplacedFileKeepsItsAttributesAndNoneIsLeftTemporary) {
    WinOutputFileOpener files;
    const std::wstring job = WideFromUtf8(m_dir + "\\job.bin");
    ASSERT_EQ(Write(files, m_dir + "\\job.bin", "new"), "3");
    EXPECT_FALSE(GetFileAttributesW(job.c_str()) & FILE_ATTRIBUTE_TEMPORARY);
    ASSERT_TRUE(SetFileAttributesW(job.c_str(), FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(Write(files, m_dir + "\\job.bin", "replaced"), "8");
    EXPECT_EQ(Read(m_dir + "\\job.bin"), "replaced");
    const DWORD kept = GetFileAttributesW(job.c_str());
    EXPECT_TRUE(kept & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_FALSE(kept & FILE_ATTRIBUTE_TEMPORARY);
    SetFileAttributesW(job.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(WinDeviceOpenerTest, GivesUpOnADeviceThatTakesNothing) {
    // A pipe nobody reads stands in for a printer that holds the write request.
    const std::string path = "\\\\.\\pipe\\brimwell-stall-" + std::to_string(GetCurrentProcessId());
    const HANDLE pipe =
        CreateNamedPipeW(WideFromUtf8(path).c_str(), PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED,
                         PIPE_TYPE_BYTE | PIPE_WAIT, 1, 16, 16, 0, nullptr);
    ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
    WinDeviceOpener printers(200);
    WinTicks ticks;
    const std::uint32_t start = ticks.GetTickCount();
    EXPECT_EQ(Write(printers, path, std::string(65536, 'x')), "failed");
    EXPECT_GE(ticks.GetTickCount() - start, 200u - kTickStepMs);
    CloseHandle(pipe);
}

TEST(WinDeviceOpenerTest, AStopRequestEndsAWriteToADeviceThatTakesNothingAtOnce) {
    // A pipe nobody reads holds the write request; the stall limit is far beyond the test's
    // bounds, so only the stop can end the write. The stop comes before the write, or from
    // another thread while the write waits.
    constexpr std::uint32_t kStallMs = 120000;
    for (const bool stopFirst : {true, false}) {
        SCOPED_TRACE(stopFirst);
        const std::string path = "\\\\.\\pipe\\brimwell-stop-" +
                                 std::to_string(GetCurrentProcessId()) + (stopFirst ? "a" : "b");
        const HANDLE pipe =
            CreateNamedPipeW(WideFromUtf8(path).c_str(), PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED,
                             PIPE_TYPE_BYTE | PIPE_WAIT, 1, 16, 16, 0, nullptr);
        ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
        WinDeviceOpener printers(kStallMs);
        auto handle = printers.OpenForWrite(path);
        ASSERT_NE(handle, nullptr);
        JobControl control;
        control.SetTaken(12345); // what a write that reports nothing would leave
        handle->SetControl(&control);
        HANDLE stopper = nullptr;
        if (stopFirst) {
            control.RequestStop();
        } else {
            stopper = CreateThread(
                nullptr, 0,
                [](LPVOID p) -> DWORD {
                    Sleep(200);
                    static_cast<JobControl*>(p)->RequestStop();
                    return 0;
                },
                &control, 0, nullptr);
            ASSERT_NE(stopper, nullptr);
        }
        const std::string job(65536, 'x');
        std::uint32_t written = 0;
        const ULONGLONG start = GetTickCount64();
        EXPECT_FALSE(handle->Write(reinterpret_cast<const std::uint8_t*>(job.data()),
                                   static_cast<std::uint32_t>(job.size()), &written));
        EXPECT_LT(GetTickCount64() - start, kStallMs / 4);
        EXPECT_TRUE(handle->StoppedByRequest());
        EXPECT_EQ(handle->FailureReason(), Win32ErrorText(ERROR_CANCELLED));
        EXPECT_LT(written, job.size());
        if (stopFirst) {
            EXPECT_EQ(written, 0u);
        } else {
            EXPECT_EQ(control.Taken(), written);
            WaitForSingleObject(stopper, INFINITE);
            CloseHandle(stopper);
        }
        handle.reset(); // nothing in flight: the close does not wait for the device
        CloseHandle(pipe);
    }
}

TEST(WinDeviceOpenerTest, ASlowDeviceThatKeepsTakingIsNotCutOffAtTheStallLimit) {
    // The reader takes 1 KiB every quarter of the stall limit: the job takes twice the limit in
    // all, yet something goes out well within every stretch of it.
    const std::string path = "\\\\.\\pipe\\brimwell-slow-" + std::to_string(GetCurrentProcessId());
    const HANDLE pipe = CreateNamedPipeW(WideFromUtf8(path).c_str(), PIPE_ACCESS_INBOUND,
                                         PIPE_TYPE_BYTE | PIPE_WAIT, 1, 16, 16, 0, nullptr);
    ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
    constexpr std::uint32_t kStallMs = 1000;
    const std::string job(8192, 'j');
    std::string received;
    std::pair<HANDLE, std::string*> args{pipe, &received};
    const HANDLE reader = CreateThread(
        nullptr, 0,
        [](LPVOID p) -> DWORD {
            auto* args = static_cast<std::pair<HANDLE, std::string*>*>(p);
            ConnectNamedPipe(args->first, nullptr);
            char piece[1024];
            DWORD got = 0;
            for (;;) {
                Sleep(kStallMs / 4);
                if (!ReadFile(args->first, piece, sizeof piece, &got, nullptr)) {
                    return 0;
                }
                args->second->append(piece, got);
            }
        },
        &args, 0, nullptr);
    ASSERT_NE(reader, nullptr);
    WinDeviceOpener printers(kStallMs);
    auto handle = printers.OpenForWrite(path);
    ASSERT_NE(handle, nullptr);
    JobControl control;
    handle->SetControl(&control);
    std::uint32_t written = 0;
    EXPECT_TRUE(handle->Write(reinterpret_cast<const std::uint8_t*>(job.data()),
                              static_cast<std::uint32_t>(job.size()), &written));
    EXPECT_EQ(written, job.size());
    EXPECT_EQ(control.Taken(), job.size());
    EXPECT_FALSE(handle->StoppedByRequest());
    handle.reset();
    WaitForSingleObject(reader, 10000); // the reader ends when the writer closes
    CloseHandle(reader);
    CloseHandle(pipe);
    EXPECT_EQ(received, job);
}

TEST(CommandLineTest, UserNameReachesThePrinterInTheAnsiCodePage) {
    ASSERT_EQ(GetACP(), 1252u) << "the expected bytes are those of code page 1252";
    const struct {
        const wchar_t* commandLine;
        const char* bytes;
    } cases[] = {
        {L"brimwell-cli.exe tester-type --tester 1004 --user-name \"Zo\u00EB\"", "Zo\xEB"},
        {L"brimwell-cli.exe tester-type --tester 1004 --user-name \u03A9mega", "?mega"},
    };
    for (const auto& c : cases) {
        const auto args = CommandLineArguments(c.commandLine);
        ASSERT_EQ(args.size(), 5u);
        CliHarness cli;
        cli.outputs.Add("job");
        std::vector<std::string> withOutput{"-o", "job"};
        withOutput.insert(withOutput.end(), args.begin(), args.end());
        EXPECT_EQ(cli.Exec(withOutput), 0) << cli.err.str();
        ASSERT_EQ(cli.AllWrites().size(), 1u);
        EXPECT_EQ(cli.AllWrites()[0],
                  BuildConfigJob(TesterMode(TesterIndexFromText("1004")), c.bytes));
    }
}

TEST(WinTicksTest, SleepsAtLeastAsLongAsAsked) {
    WinTicks ticks;
    const std::uint32_t start = ticks.GetTickCount();
    ticks.Sleep(30);
    EXPECT_GE(ticks.GetTickCount() - start, 30u - kTickStepMs);
    const LocalDateTime now = WinLocalClock().Now();
    EXPECT_GE(now.year, 2000u);
    EXPECT_TRUE(now.month >= 1 && now.month <= 12 && now.hour <= 23);
}

} // namespace
} // namespace brimwell::test
