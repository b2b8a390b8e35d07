// How long the window's event loop goes without turning while a job is written to a printer
// that takes nothing (the stall limit runs out): a timer of 10 ms notes the longest gap
// between its ticks from the press of the send button until the job's end has been handled
// (its `done` has run). With `inline` the job runs on the window's thread, in the inline job
// runner; with `host` it runs in the Qt host's job runner, while the event loop goes on.
// Meanwhile a second X connection pings the window as a window manager does (_NET_WM_PING every
// 10 ms) and notes the longest time a ping went unanswered. With `stop`, the job panel's Stop is
// pressed two seconds into the job, and the time from the press until the window is usable
// again (the job's end handled, the send button enabled) is noted.
//   QT_QPA_PLATFORM=xcb bench_job_wait_gap inline|host [stop]
#include "WmPinger.h"
#include "hosts/qt/DialogBuilder.h"
#include "hosts/qt/QtDialog.h"
#include "hosts/qt/QtJobRunner.h"
#include "platform/linux/PosixDeviceOpener.h"
#include "platform/linux/SystemClock.h"
#include "support/FakePlatform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

// Runs jobs in `inner` and calls `ended` once a job's `done` has run.
class EndNotingRunner : public brimwell::IJobRunner {
public:
    EndNotingRunner(brimwell::IJobRunner& inner, std::function<void()> ended)
        : m_inner(inner), m_ended(std::move(ended)) {}
    void Start(std::function<void()> work, std::function<void()> tick,
               std::function<void()> done) override {
        m_inner.Start(std::move(work), std::move(tick), [this, done = std::move(done)] {
            done();
            m_ended();
        });
    }

private:
    brimwell::IJobRunner& m_inner;
    std::function<void()> m_ended;
};

} // namespace

int main(int argc, char** argv) {
    using namespace brimwell;
    const bool stop = argc == 3 && std::strcmp(argv[2], "stop") == 0;
    if ((argc != 2 && !stop) ||
        (std::strcmp(argv[1], "inline") != 0 && std::strcmp(argv[1], "host") != 0)) {
        std::fprintf(stderr, "usage: bench_job_wait_gap inline|host [stop]\n");
        return 2;
    }
    QApplication app(argc, argv);
    // The printer: a FIFO whose reader never reads, its pipe full.
    char dir[] = "/tmp/brimwell-gap-XXXXXX";
    if (!::mkdtemp(dir)) {
        return 1;
    }
    const std::string fifo = std::string(dir) + "/lp0";
    ::mkfifo(fifo.c_str(), 0600);
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    const int fill = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
    while (::write(fill, "xxxxxxxxxxxxxxxx", 16) > 0) {
    }
    ::close(fill);

    test::FakePlatform platform;
    PosixDeviceOpener opener;
    SystemTicks ticks;
    QtJobRunner hostRunner;
    ScopedServices useOpener(&Services::deviceOpener, &opener);
    ScopedServices useTicks(&Services::ticks, &ticks);
    const bool host = std::strcmp(argv[1], "host") == 0;
    IJobRunner& runner = host ? static_cast<IJobRunner&>(hostRunner) : *InlineJobRunnerService();
    platform.enumerator.devices = {fake::FakeEnumerator::Usb(fifo, 0x1203, 0x0126)};

    CBrimwellDlg logic;
    QtTopDialog window{*FindDialogTemplate(IDD_BRIMWELL_DIALOG)};
    window.Dialog().Attach(logic);
    window.show();
    constexpr int kDensityRow = 7;
    GetDlgItemAs<QListWidget>(&window, IDC_FUNCTION_LIST)->setCurrentRow(kDensityRow);

    QElapsedTimer clock;
    qint64 last = -1;
    qint64 longest = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        if (last >= 0 && now - last > longest) {
            longest = now - last;
        }
        last = now;
    });
    std::unique_ptr<bench::WmPinger> pinger;
    qint64 stoppedAt = -1;
    QPushButton* send = nullptr;
    // The job's end: inline, within the click; in the host's runner, from the event loop.
    EndNotingRunner noting(runner, [&] {
        tick.stop();
        const qint64 total = clock.elapsed();
        if (total - last > longest) {
            longest = total - last;
        }
        if (pinger) {
            pinger->Stop();
        }
        std::printf("%s: job %lld ms, longest gap of the event loop %lld ms, message: %s\n",
                    argv[1], static_cast<long long>(total), static_cast<long long>(longest),
                    platform.box.shown.empty() ? "(none)" : platform.box.shown.back().text.c_str());
        if (pinger && pinger->Connected()) {
            std::printf("%s: longest unanswered _NET_WM_PING %ld ms (%ld pings answered)\n",
                        argv[1], pinger->LongestMs(), pinger->Answered());
        }
        if (stoppedAt >= 0) {
            std::printf("%s: from Stop to a usable window %lld ms (send button %s)\n", argv[1],
                        static_cast<long long>(total - stoppedAt),
                        send && send->isEnabled() ? "enabled" : "disabled");
        }
        window.done(0);
    });
    ScopedServices useRunner(&Services::jobRunner, &noting);
    QTimer::singleShot(200, [&] {
        auto* page = static_cast<QtDialog*>(&logic.Page(kDensityRow)->Dialog());
        pinger = std::make_unique<bench::WmPinger>(window.winId());
        if (std::getenv("BRIMWELL_BENCH_VERBOSE")) {
            std::printf("window 0x%llx\n", static_cast<unsigned long long>(window.winId()));
            std::fflush(stdout);
        }
        clock.start();
        last = 0;
        tick.start(10);
        send = GetDlgItemAs<QPushButton>(page->Root(), IDC_SEND_DENSITY);
        send->click();
    });
    // BRIMWELL_BENCH_SHOT=OUT.png: a picture of the window a second and a half into the job,
    // with the job panel showing.
    if (const char* shot = std::getenv("BRIMWELL_BENCH_SHOT")) {
        QTimer::singleShot(1700,
                           [&window, shot] { window.grab().save(QString::fromLocal8Bit(shot)); });
    }
    if (stop) {
        QTimer::singleShot(2200, [&] {
            stoppedAt = clock.elapsed();
            GetDlgItemAs<QPushButton>(&window, IDC_JOB_STOP)->click();
        });
    }
    window.exec();
    ::close(reader);
    ::unlink(fifo.c_str());
    ::rmdir(dir);
    return 0;
}
