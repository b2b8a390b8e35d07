// The printer list of the main window: rebuilt at start-up and on every device event, with
// the selection kept by device path and every page told whether a printer is available.
#include "printer/PrinterIdentification.h"
#include "support/FakePlatform.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace brimwell::test {
namespace {

using fake::FakeEnumerator;

// Rows only in some slots, so that the pages are told in slot order, skipping empty ones.
constexpr int kPageSlots[] = {0, 7, 19};

const FuncTableEntry* PageRows() {
    static FuncTableEntry rows[MAX_FUNC_PAGES] = {};
    for (int slot : kPageSlots) {
        rows[slot] = {"Page", IDD_WELCOME, slot};
    }
    return rows;
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
        window = std::make_unique<FakeWindow>(PageRows(), [this](int, int slot, CBrimwellDlg* p) {
            return new RecordingPage(slot, log, p);
        });
    }

    std::vector<std::string> Entries() const { return window->Printers(); }
    int Selected() const { return window->host.GetCurSel(IDC_PRINTER_COMBO); }

    CEnumeratedPrinter* Record(int index) const {
        return reinterpret_cast<CEnumeratedPrinter*>(
            window->host.GetItemData(IDC_PRINTER_COMBO, index));
    }

    std::string SelectedPath() const {
        CEnumeratedPrinter* record = Record(Selected());
        return record ? record->m_strDevicePath : std::string("(none)");
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

        // Every listed entry carries its own record, owned by the window.
        const bool available = step.entries != std::vector<std::string>{kNone};
        EXPECT_EQ(window->dlg.m_arrPrinters.size(), available ? step.entries.size() : 0u);
        for (std::size_t e = 0; available && e < step.entries.size(); ++e) {
            ASSERT_NE(Record(static_cast<int>(e)), nullptr);
            EXPECT_EQ(Record(static_cast<int>(e)), window->dlg.m_arrPrinters[e]);
            EXPECT_EQ(Record(static_cast<int>(e))->m_strName, step.entries[e]);
        }
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
    EXPECT_TRUE(window->dlg.m_arrPrinters.empty());
    EXPECT_TRUE(log.empty());
    for (int slot : kPageSlots) {
        EXPECT_TRUE(window->dlg.m_apPages[slot]->PrinterAvailable()) << slot;
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
    EXPECT_TRUE(window->dlg.m_arrPrinters.size() == 1u); // nothing was rebuilt
    AvailabilityLog expected;
    for (int slot : kPageSlots) {
        expected.emplace_back(slot, false);
    }
    EXPECT_EQ(log, expected);
}

// Every second record fails to allocate: those devices are left out, the rest listed.
CEnumeratedPrinter* EverySecondRecordFails() {
    static int calls = 0;
    return ++calls % 2 == 0 ? nullptr : CBrimwellDlg::NewPrinterRecord();
}

TEST_F(PrinterListTest, ADeviceWhoseRecordCannotBeAllocatedIsLeftOut) {
    enumerator.devices = {Printer("/dev/usb/lp0"), Adapter("/dev/usb/lp1"),
                          Printer("/dev/usb/lp2")};
    Start();
    window->dlg.m_pfnNewPrinter = &EverySecondRecordFails;
    monitor.Fire();
    EXPECT_EQ(Entries(), (std::vector<std::string>{kP, kP}));
    EXPECT_EQ(Record(1)->m_strDevicePath, "/dev/usb/lp2");
    EXPECT_EQ(window->dlg.m_arrPrinters.size(), 2u);
    EXPECT_TRUE(window->dlg.m_apPages[0]->PrinterAvailable());
}

} // namespace
} // namespace brimwell::test
