// The printer list of the main window: rebuilt at start-up and on every device event, with
// the selection kept by device path and every page told whether a printer is available.
#include "printer/PrinterIdentification.h"
#include "support/FakePlatform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {
// Memory running short, on request: when this is n >= 0, the n-th allocation from now (0: the
// next one) throws std::bad_alloc, and the count ends at -1.
int g_failingAllocation = -1;
} // namespace

// Not inlined: the compiler would otherwise take the free() of a block from operator new for a
// mismatched pair.
[[gnu::noinline]] void* operator new(std::size_t size) {
    if (g_failingAllocation >= 0 && g_failingAllocation-- == 0) {
        throw std::bad_alloc();
    }
    if (void* block = std::malloc(size == 0 ? 1 : size)) {
        return block;
    }
    throw std::bad_alloc();
}
[[gnu::noinline]] void operator delete(void* block) noexcept {
    std::free(block);
}
[[gnu::noinline]] void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}

namespace brimwell::test {
namespace {

using fake::FakeEnumerator;

// Pages in some slots only (a row without a page between them), so that the pages are told in
// slot order, skipping the slot without one.
constexpr int kPageSlots[] = {0, 2, 3};

PageTable PageRows() {
    return {{"Page", IDD_WELCOME, 0, nullptr},
            {"No page", 999, 1, nullptr},
            {"Page", IDD_WELCOME, 2, nullptr},
            {"Page", IDD_WELCOME, 3, nullptr}};
}

using AvailabilityLog = std::vector<std::pair<int, bool>>; // (slot, value) per call

class RecordingPage : public CFuncDlg {
public:
    RecordingPage(int slot, AvailabilityLog& log, IPageHost* parent)
        : CFuncDlg(IDD_WELCOME, parent), m_slot(slot), m_log(log) {}
    void OnPrinterAvailability(bool bAvailable) override {
        CFuncDlg::OnPrinterAvailability(bAvailable);
        m_log.emplace_back(m_slot, bAvailable);
    }

private:
    int m_slot;
    AvailabilityLog& m_log;
};

// Records whether the window listened before it first listed.
class OrderCheckingMonitor : public IDeviceMonitor {
public:
    explicit OrderCheckingMonitor(const FakeEnumerator& e) : m_enumerator(e) {}
    void SetChangeHandler(std::function<void()> handler) override {
        if (handler) {
            callsWhenRegistered = m_enumerator.calls;
        }
        registered = static_cast<bool>(handler);
        m_handler = std::move(handler);
    }
    void Fire() {
        if (m_handler) {
            m_handler();
        }
    }
    int callsWhenRegistered = -1;
    bool registered = false;

private:
    const FakeEnumerator& m_enumerator;
    std::function<void()> m_handler;
};

class PrinterListTest : public ::testing::Test {
protected:
    PrinterListTest() = default;

    void Start() {
        window = std::make_unique<FakeWindow>(
            PageRows(), [this](const PageRow& row, IPageHost* host) -> CFuncDlg* {
                return row.dialogId == IDD_WELCOME ? new RecordingPage(row.pageArg, log, host)
                                                   : nullptr;
            });
        // Every page made, as if each row had been visited: each is told what the ones made at
        // start were.
        for (int slot = 0; slot < window->dlg.PageCount(); ++slot) {
            window->dlg.MakePage(slot);
        }
    }

    std::vector<std::string> Entries() const { return window->Printers(); }
    int Selected() const { return window->host.GetCurSel(IDC_PRINTER_COMBO); }

    std::string SelectedPath() const {
        const std::optional<CEnumeratedPrinter> printer = window->dlg.SelectedPrinter();
        return printer ? printer->m_strDevicePath : std::string("(none)");
    }
    // The device paths of the printers listed, in list order.
    std::vector<std::string> Paths() const {
        std::vector<std::string> paths;
        for (const CEnumeratedPrinter& printer : window->dlg.Printers()) {
            paths.push_back(printer.m_strDevicePath);
        }
        return paths;
    }
    // The names of the printers listed, in list order.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const CEnumeratedPrinter& printer : window->dlg.Printers()) {
            names.push_back(printer.m_strName);
        }
        return names;
    }

    FakePlatform platform;
    FakeEnumerator enumerator;
    OrderCheckingMonitor monitor{enumerator};
    ScopedServices useEnumerator{&Services::enumerator, &enumerator};
    ScopedServices useMonitor{&Services::monitor, &monitor};
    AvailabilityLog log;
    std::unique_ptr<FakeWindow> window;
};

RawDeviceInterface Printer(const std::string& path) {
    return FakeEnumerator::Usb(path, 0x1203, 0x0126);
}
RawDeviceInterface Adapter(const std::string& path) {
    return FakeEnumerator::Usb(path, 0x067B, 0x2305);
}

// One rebuild: the devices present, the entry the user selects before the event that
// triggers it (-1: leave the selection alone), and what the list must show afterwards.
struct Step {
    std::vector<RawDeviceInterface> devices;
    int selectBefore;
    std::vector<std::string> entries;
    int selectedIndex;
    std::string selectedPath; // "(none)" for the entry without a record
};

struct Scenario {
    const char* name;
    std::vector<Step> steps; // the first is the start-up, the others follow device events
};

void PrintTo(const Scenario& s, std::ostream* os) {
    *os << s.name;
}

const char* const kP = "Brimwell printer";
const char* const kA = "USB-to-Parallel adapter";
const char* const kNone = "No printer found";

class PrinterListScenario : public PrinterListTest,
                            public ::testing::WithParamInterface<Scenario> {};

TEST_P(PrinterListScenario, FollowsTheDevices) {
    const Scenario& scenario = GetParam();
    for (std::size_t i = 0; i < scenario.steps.size(); ++i) {
        SCOPED_TRACE("step " + std::to_string(i));
        const Step& step = scenario.steps[i];
        enumerator.devices = step.devices;
        log.clear();
        if (i == 0) {
            Start();
        } else {
            if (step.selectBefore >= 0) {
                ASSERT_TRUE(window->host.Choose(IDC_PRINTER_COMBO, step.selectBefore));
            }
            monitor.Fire();
        }
        EXPECT_EQ(Entries(), step.entries);
        EXPECT_EQ(Selected(), step.selectedIndex);
        EXPECT_EQ(SelectedPath(), step.selectedPath);

        // Entry i of the list is printer i; "No printer found" is none.
        const bool available = step.entries != std::vector<std::string>{kNone};
        EXPECT_EQ(Names(), available ? step.entries : std::vector<std::string>{});
        // Every page, in slot order, after every rebuild (the one at start-up too).
        AvailabilityLog expected;
        for (int slot : kPageSlots) {
            expected.emplace_back(slot, available);
        }
        EXPECT_EQ(log, expected);
    }
}

const std::string kLong143 = "/dev/usb/" + std::string(134, 'l');
const std::string kLong144 = kLong143 + "p";

INSTANTIATE_TEST_SUITE_P(
    Cases, PrinterListScenario,
    ::testing::Values(
        Scenario{"Nothing", {{{}, -1, {kNone}, 0, "(none)"}, {{}, -1, {kNone}, 0, "(none)"}}},
        Scenario{"OnePrinterArrives",
                 {{{}, -1, {kNone}, 0, "(none)"},
                  {{Printer("/dev/usb/lp0")}, -1, {kP}, 0, "/dev/usb/lp0"}}},
        Scenario{
            "PrinterAndAdapterInEnumerationOrder",
            {{{Adapter("/dev/usb/lp0"), Printer("/dev/usb/lp1")}, -1, {kA, kP}, 0, "/dev/usb/lp0"},
             {{Printer("/dev/usb/lp1"), Adapter("/dev/usb/lp0")},
              -1,
              {kP, kA},
              1,
              "/dev/usb/lp0"}}},
        Scenario{
            "SecondOfTwoStaysSelectedWhenAThirdArrivesInFront",
            {{{Printer("/dev/usb/lp0"), Printer("/dev/usb/lp1")}, -1, {kP, kP}, 0, "/dev/usb/lp0"},
             {{Adapter("/dev/usb/lp2"), Printer("/dev/usb/lp0"), Printer("/dev/usb/lp1")},
              1,
              {kA, kP, kP},
              2,
              "/dev/usb/lp1"}}},
        Scenario{
            "SelectionFoundIgnoringTheCaseOfTheLetters",
            {{{Printer("/dev/usb/lp0"), Printer("/dev/usb/LP1")}, -1, {kP, kP}, 0, "/dev/usb/lp0"},
             {{Printer("/dev/usb/lp3"), Printer("/dev/usb/lp0"), Printer("/dev/usb/lp1")},
              1,
              {kP, kP, kP},
              2,
              "/dev/usb/lp1"}}},
        Scenario{
            "RemovingTheSelectedDeviceSelectsTheFirst",
            {{{Printer("/dev/usb/lp0"), Adapter("/dev/usb/lp1"), Printer("/dev/usb/lp2")},
              -1,
              {kP, kA, kP},
              0,
              "/dev/usb/lp0"},
             {{Printer("/dev/usb/lp0"), Printer("/dev/usb/lp2")}, 1, {kP, kP}, 0, "/dev/usb/lp0"}}},
        Scenario{"RemovingTheLastDeviceShowsNoPrinterFound",
                 {{{Printer("/dev/usb/lp0")}, -1, {kP}, 0, "/dev/usb/lp0"},
                  {{}, 0, {kNone}, 0, "(none)"},
                  {{Adapter("/dev/usb/lp4")}, 0, {kA}, 0, "/dev/usb/lp4"}}},
        Scenario{"OtherProductsAndVendorsNotListed",
                 {{{FakeEnumerator::Usb("/dev/usb/lp0", 0x1203, 0x9999),
                    FakeEnumerator::Usb("/dev/usb/lp1", 0x04B8, 0x0126),
                    FakeEnumerator::Usb("/dev/usb/lp2", 0x067B, 0x2303)},
                   -1,
                   {kNone},
                   0,
                   "(none)"},
                  {{FakeEnumerator::Usb("/dev/usb/lp0", 0x1203, 0x9999), Printer("/dev/usb/lp3")},
                   -1,
                   {kP},
                   0,
                   "/dev/usb/lp3"}}},
        Scenario{"PathOverTheLimitNotListed",
                 {{{Printer(kLong144), Printer(kLong143)}, -1, {kP}, 0, kLong143},
                  {{Printer(kLong144)}, -1, {kNone}, 0, "(none)"}}},
        Scenario{"UnreadablePropertiesSkipTheDevice",
                 {{{RawDeviceInterface{"/dev/usb/lp0", std::nullopt, UsbId{0x1203, 0x0126}},
                    RawDeviceInterface{"/dev/usb/lp1", std::string("1-2"), std::nullopt},
                    Adapter("/dev/usb/lp2")},
                   -1,
                   {kA},
                   0,
                   "/dev/usb/lp2"},
                  {{RawDeviceInterface{"/dev/usb/lp0", std::nullopt, UsbId{0x1203, 0x0126}}},
                   -1,
                   {kNone},
                   0,
                   "(none)"}}},
        Scenario{
            "TwoIdenticalPrintersListedTwice",
            {{{Printer("/dev/usb/lp0"), Printer("/dev/usb/lp1")}, -1, {kP, kP}, 0, "/dev/usb/lp0"},
             {{Printer("/dev/usb/lp0"), Printer("/dev/usb/lp1")},
              1,
              {kP, kP},
              1,
              "/dev/usb/lp1"}}}),
    [](const ::testing::TestParamInfo<Scenario>& info) { return std::string(info.param.name); });

TEST_F(PrinterListTest, ListensBeforeItListsAndStopsListeningWhenDestroyed) {
    Start();
    EXPECT_EQ(monitor.callsWhenRegistered, 0);
    EXPECT_EQ(enumerator.calls, 1);
    EXPECT_EQ(log.size(), std::size(kPageSlots));
    EXPECT_TRUE(monitor.registered);
    window.reset();
    EXPECT_FALSE(monitor.registered);
    monitor.Fire(); // must not reach the destroyed window
    EXPECT_EQ(enumerator.calls, 1);
}

TEST_F(PrinterListTest, RefusedQueryLeavesTheListEmptyAndThePagesUntold) {
    enumerator.devices = {Printer("/dev/usb/lp0")};
    Start();
    log.clear();
    monitor.Fire();
    ASSERT_EQ(log.size(), 3u);

    enumerator.refuse = true;
    log.clear();
    monitor.Fire();
    EXPECT_EQ(window->host.GetCount(IDC_PRINTER_COMBO), 0);
    EXPECT_EQ(Selected(), -1);
    EXPECT_TRUE(window->dlg.Printers().empty());
    EXPECT_TRUE(log.empty());
    for (int slot : kPageSlots) {
        EXPECT_TRUE(window->dlg.MakePage(slot)->PrinterAvailable()) << slot;
    }

    // The next query that succeeds lists again, first entry selected.
    enumerator.refuse = false;
    monitor.Fire();
    EXPECT_EQ(Entries(), std::vector<std::string>{kP});
    EXPECT_EQ(Selected(), 0);
    EXPECT_EQ(log.size(), 3u);
}

TEST_F(PrinterListTest, WithoutAPrinterListThePagesAreToldNoPrinter) {
    enumerator.devices = {Printer("/dev/usb/lp0")};
    Start();
    window->host.items.erase(IDC_PRINTER_COMBO);
    log.clear();
    const int callsBefore = enumerator.calls;
    monitor.Fire();
    EXPECT_EQ(enumerator.calls, callsBefore);
    EXPECT_EQ(window->dlg.Printers().size(), 1u); // nothing was rebuilt
    AvailabilityLog expected;
    for (int slot : kPageSlots) {
        expected.emplace_back(slot, false);
    }
    EXPECT_EQ(log, expected);
}

// Memory runs short at each allocation of a rebuild in turn. Where the record of a device
// cannot be made, that device is left out and the others are listed, entry i still printer i;
// a failure elsewhere ends the rebuild, and the next one lists every device again.
TEST_F(PrinterListTest, ADeviceWhoseRecordCannotBeMadeIsLeftOut) {
    const std::vector<std::string> all = {"/dev/usb/lp0", "/dev/usb/lp1", "/dev/usb/lp2"};
    enumerator.devices = {Printer(all[0]), Adapter(all[1]), Printer(all[2])};
    Start();
    std::vector<std::vector<std::string>> leftOut;
    for (int n = 0;; ++n) {
        SCOPED_TRACE("allocation " + std::to_string(n));
        g_failingAllocation = n;
        bool rebuilt = true;
        try {
            monitor.Fire();
        } catch (const std::bad_alloc&) {
            rebuilt = false;
        }
        const bool failed = g_failingAllocation < 0;
        g_failingAllocation = -1;
        if (!failed) {
            EXPECT_EQ(Paths(), all); // past the rebuild's last allocation
            break;
        }
        if (rebuilt && Paths() != all) {
            ASSERT_EQ(Paths().size(), 2u);
            EXPECT_EQ(Entries(), Names());
            EXPECT_TRUE(window->dlg.MakePage(0)->PrinterAvailable());
            leftOut.push_back(Paths());
        }
        monitor.Fire();
        ASSERT_EQ(Paths(), all);
        ASSERT_EQ(Entries(), (std::vector<std::string>{kP, kA, kP}));
    }
    // Each device in turn was the one left out.
    std::sort(leftOut.begin(), leftOut.end());
    leftOut.erase(std::unique(leftOut.begin(), leftOut.end()), leftOut.end());
    EXPECT_EQ(leftOut, (std::vector<std::vector<std::string>>{
                           {all[0], all[1]}, {all[0], all[2]}, {all[1], all[2]}}));
}

} // namespace
} // namespace brimwell::test
