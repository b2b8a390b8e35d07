// One rebuild of the main window's printer list: the query, the filter, the list entries,
// the records and the notification of every page.
//   printer_list_bench                      fake enumerator, 1 and 8 devices
//   umockdev-wrapper printer_list_bench     adds the real udev enumerator on an emulated bus
#include "app/CBrimwellDlg.h"
#include "hosts/qt/QtDialog.h"
#include "platform/fake/FakeServices.h"
#include "platform/linux/UdevDevices.h"
#include "support/FakePlatform.h"
#include "ui/Services.h"
#ifdef BRIMWELL_BENCH_UMOCKDEV
#include "integration/MockUsbBus.h"
#endif

#include <QApplication>
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace brimwell {
namespace {

constexpr int kPages = 11; // rows of the delivered function list

// The main window in the Qt host, its printer list a real combo box, with as many pages as
// the delivered window, each hearing of the printers as the page base does.
struct Window {
    explicit Window(IDeviceEnumerator& enumerator)
        : useEnumerator(&Services::enumerator, &enumerator),
          dlg(PageTable(kPages, PageRow{"Page", IDD_WELCOME, 0, nullptr}),
              [](const PageRow& row, IPageHost* host) -> CFuncDlg* {
                  return new CFuncDlg(row.dialogId, host);
              }) {
        host.Dialog().Attach(dlg);
    }
    test::FakePlatform platform;
    ScopedServices useEnumerator;
    CBrimwellDlg dlg;
    QtTopDialog host{*FindDialogTemplate(IDD_BRIMWELL_DIALOG)};
};

void BM_RefreshPrinterList(benchmark::State& state) {
    fake::FakeEnumerator enumerator;
    for (int i = 0; i < state.range(0); ++i) {
        const bool adapter = i % 4 == 3;
        enumerator.devices.push_back(fake::FakeEnumerator::Usb("/dev/usb/lp" + std::to_string(i),
                                                               adapter ? 0x067B : 0x1203,
                                                               adapter ? 0x2305 : 0x0126));
    }
    Window window(enumerator);
    window.host.Dialog().SetCurSel(IDC_PRINTER_COMBO, static_cast<int>(state.range(0)) - 1);
    for (auto _ : state) {
        window.dlg.RefreshPrinterList();
    }
    state.counters["devices"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_RefreshPrinterList)->Arg(1)->Arg(8);

#ifdef BRIMWELL_BENCH_UMOCKDEV
bool g_mockBus = false;

void AddEmulatedPrinters(int count) {
    test::MockUsbBus& bus = test::MockUsbBus::Get();
    bus.Clear();
    for (int i = 0; i < count; ++i) {
        bus.AddPrinter(0x1203, 0x0126, i + 1, i);
    }
}

void BM_RefreshPrinterListUdev(benchmark::State& state) {
    if (!g_mockBus) {
        state.SkipWithError("run under umockdev-wrapper");
        return;
    }
    AddEmulatedPrinters(static_cast<int>(state.range(0)));
    UdevEnumerator enumerator;
    Window window(enumerator);
    if (window.dlg.Printers().size() != static_cast<std::size_t>(state.range(0))) {
        state.SkipWithError("emulated printers not listed");
        return;
    }
    for (auto _ : state) {
        window.dlg.RefreshPrinterList();
    }
    state.counters["devices"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_RefreshPrinterListUdev)->Arg(1)->Arg(8);
#endif

} // namespace
} // namespace brimwell

int main(int argc, char** argv) {
#ifdef BRIMWELL_BENCH_UMOCKDEV
    // The emulated bus must exist before anything touches udev (see MockUsbBus.h).
    if (brimwell::test::MockUsbBus::Available()) {
        brimwell::test::MockUsbBus::Get();
        brimwell::g_mockBus = true;
    }
#endif
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
