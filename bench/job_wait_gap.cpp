// How long the window's event loop goes without turning while a job is written to a printer
// that takes nothing (the stall limit runs out): a timer of 10 ms notes the longest gap
// between its ticks from the press of the send button until the job's end has been handled
// (its `done` has run). With `inline` the job runs on the window's thread, in the inline job
// runner; with `host` it runs in the Qt host's job runner, while the event loop goes on.
//   QT_QPA_PLATFORM=xcb bench_job_wait_gap inline|host
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
    if (argc != 2 || (std::strcmp(argv[1], "inline") != 0 && std::strcmp(argv[1], "host") != 0)) {
        std::fprintf(stderr, "usage: bench_job_wait_gap inline|host\n");
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

    CBrimwellDlg logic{kFunctionTable};
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
    // The job's end: inline, within the click; in the host's runner, from the event loop.
    EndNotingRunner noting(runner, [&] {
        tick.stop();
        const qint64 total = clock.elapsed();
        if (total - last > longest) {
            longest = total - last;
        }
        std::printf("%s: job %lld ms, longest gap of the event loop %lld ms, message: %s\n",
                    argv[1], static_cast<long long>(total), static_cast<long long>(longest),
                    platform.box.shown.empty() ? "(none)" : platform.box.shown.back().text.c_str());
        window.done(0);
    });
    ScopedServices useRunner(&Services::jobRunner, &noting);
    QTimer::singleShot(200, [&] {
        auto* page = static_cast<QtDialog*>(&logic.m_apPages[kDensityRow]->Dialog());
        clock.start();
        last = 0;
        tick.start(10);
        GetDlgItemAs<QPushButton>(page->Root(), IDC_SEND_DENSITY)->click();
    });
    window.exec();
    ::close(reader);
    ::unlink(fifo.c_str());
    ::rmdir(dir);
    return 0;
}
