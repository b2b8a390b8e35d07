// How long the window takes to answer SendMessageTimeout(WM_NULL) (what Windows asks a window
// it suspects of hanging) while a job is written to a printer that takes nothing, until the
// stall limit runs out: a second thread asks every 20 ms and notes the longest answer. With
// `inline` the job runs on the window's thread; with `host` it runs on the Win32 host's job
// runner while the window's thread goes on with its messages until the job's end comes.
//   wine bench_win_job_wait_gap.exe inline|host
#include "hosts/win32/WinDialog.h"
#include "hosts/win32/WinJobRunner.h"
#include "platform/windows/WinDeviceOpener.h"
#include "platform/windows/WinSystemClock.h"
#include "platform/windows/WinText.h"
#include "support/FakePlatform.h"

#include <windows.h>

#include <commctrl.h>

#include <atomic>
#include <cstdio>
#include <cwchar>
#include <utility>

namespace {

// A runner that notes when its job has ended (its done has run).
class EndNotingRunner : public brimwell::IJobRunner {
public:
    explicit EndNotingRunner(brimwell::IJobRunner& runner) : m_runner(runner) {}
    void Start(std::function<void()> work, std::function<void()> tick,
               std::function<void()> done) override {
        m_runner.Start(std::move(work), std::move(tick), [this, done = std::move(done)] {
            if (done) {
                done();
            }
            ended = true;
        });
    }
    bool ended = false;

private:
    brimwell::IJobRunner& m_runner;
};

struct Pinger {
    HWND window = nullptr;
    std::atomic<bool> stop{false};
    DWORD longest = 0;
};

DWORD WINAPI Ping(LPVOID parameter) {
    auto* pinger = static_cast<Pinger*>(parameter);
    while (!pinger->stop) {
        const ULONGLONG start = GetTickCount64();
        DWORD_PTR result = 0;
        SendMessageTimeoutW(pinger->window, WM_NULL, 0, 0, SMTO_BLOCK, 60000, &result);
        const auto took = static_cast<DWORD>(GetTickCount64() - start);
        if (took > pinger->longest) {
            pinger->longest = took;
        }
        Sleep(20);
    }
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    using namespace brimwell;
    if (argc != 2 || (std::wcscmp(argv[1], L"inline") != 0 && std::wcscmp(argv[1], L"host") != 0)) {
        std::fprintf(stderr, "usage: bench_win_job_wait_gap inline|host\n");
        return 2;
    }
    const bool host = std::wcscmp(argv[1], L"host") == 0;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    // The printer: a pipe nobody reads, with no buffer (a job of a few bytes would fit in one).
    const std::string path = "\\\\.\\pipe\\brimwell-gap-" + std::to_string(GetCurrentProcessId());
    const HANDLE pipe =
        CreateNamedPipeW(WideFromUtf8(path).c_str(), PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED,
                         PIPE_TYPE_BYTE | PIPE_WAIT, 1, 0, 0, 0, nullptr);

    test::FakePlatform platform;
    WinDeviceOpener opener;
    WinTicks ticks;
    WinJobRunner hostRunner;
    EndNotingRunner runner(host ? static_cast<IJobRunner&>(hostRunner) : *InlineJobRunnerService());
    ScopedServices useOpener(&Services::deviceOpener, &opener);
    ScopedServices useTicks(&Services::ticks, &ticks);
    ScopedServices useRunner(&Services::jobRunner, &runner);
    platform.enumerator.devices = {fake::FakeEnumerator::Usb(path, 0x1203, 0x0126)};

    CBrimwellDlg logic;
    WinDialog window{*FindDialogTemplate(IDD_BRIMWELL_DIALOG), true};
    if (!window.Create(logic, nullptr)) {
        return 1;
    }
    ShowWindow(window.Hwnd(), SW_SHOW);
    constexpr int kDensityRow = 7;
    HWND list = GetDlgItem(window.Hwnd(), IDC_FUNCTION_LIST);
    SendMessageW(list, LB_SETCURSEL, kDensityRow, 0);
    SendMessageW(window.Hwnd(), WM_COMMAND, MAKEWPARAM(IDC_FUNCTION_LIST, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
    HWND page = static_cast<WinDialog&>(logic.Page(kDensityRow)->Dialog()).Hwnd();

    Pinger pinger;
    pinger.window = window.Hwnd();
    const HANDLE thread = CreateThread(nullptr, 0, &Ping, &pinger, 0, nullptr);
    const ULONGLONG start = GetTickCount64();
    SendMessageW(GetDlgItem(page, IDC_SEND_DENSITY), BM_CLICK, 0, 0);
    // The window's own loop, until the job's end has been delivered by it.
    while (!runner.ended) {
        MSG msg;
        if (GetMessageW(&msg, nullptr, 0, 0) <= 0) {
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    const ULONGLONG total = GetTickCount64() - start;
    pinger.stop = true;
    // The last question may be waiting for this thread.
    while (WaitForSingleObject(thread, 10) == WAIT_TIMEOUT) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&msg);
        }
    }
    CloseHandle(thread);
    std::printf("%ls: job %llu ms, longest answer to WM_NULL %lu ms, message: %s\n", argv[1], total,
                pinger.longest,
                platform.box.shown.empty() ? "(none)" : platform.box.shown.back().text.c_str());
    DestroyWindow(window.Hwnd());
    CloseHandle(pipe);
    return 0;
}
