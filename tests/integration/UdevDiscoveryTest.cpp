// Discovery, device events and jobs against an emulated USB bus (umockdev): the real udev
// enumerator and monitor, the real device opener, the real main window.
#include "app/CBrimwellDlg.h"
#include "cli/Commands.h"
#include "hosts/qt/QtJobRunner.h"
#include "integration/MockUsbBus.h"
#include "platform/fake/FakeServices.h"
#include "platform/linux/PosixDeviceOpener.h"
#include "platform/linux/UdevDevices.h"
#include "printer/PrinterIdentification.h"
#include "support/FakePlatform.h"
#include "ui/Services.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>

#include <atomic>
#include <fcntl.h>
#include <memory>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace brimwell::test {
namespace {

using test::MockUsbBus;
using test::MockUsbDevice;

// Counts the queries, so that a test can tell whether an event rebuilt the list.
class CountingEnumerator : public IDeviceEnumerator {
public:
    explicit CountingEnumerator(IDeviceEnumerator& inner) : m_inner(inner) {}
    bool Enumerate(std::vector<RawDeviceInterface>& out) override {
        ++calls;
        return m_inner.Enumerate(out);
    }
    int calls = 0;

private:
    IDeviceEnumerator& m_inner;
};

// A page that sends what it is given, through the send helper every page uses.
class SendingPage : public CFuncDlg {
public:
    explicit SendingPage(IPageHost* parent) : CFuncDlg(IDD_SET_DENSITY, parent) {}
    bool Send(const std::string& bytes) { return SendJob(JOB_CONFIRM_NONE, bytes); }
};

const char* const kP = "Brimwell printer";
const char* const kA = "USB-to-Parallel adapter";
const char* const kNone = "No printer found";

// Runs the event loop in short rounds until `done` holds. The bound only ends a test that
// would otherwise hang; nothing depends on how fast events arrive.
template <class Pred>
bool ProcessEventsUntil(Pred done) {
    QDeadlineTimer deadline(30000);
    while (!done()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QEventLoop loop;
        QTimer::singleShot(10, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

// Lets whatever is queued be delivered.
void Settle() {
    for (int i = 0; i < 5; ++i) {
        QEventLoop loop;
        QTimer::singleShot(10, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

class UdevDiscovery : public ::testing::Test {
protected:
    UdevDiscovery()
        : bus(MockUsbBus::Get()), counting(udevEnumerator),
          useOpener(&Services::deviceOpener, &opener),
          useEnumerator(&Services::enumerator, &counting),
          useMonitor(&Services::monitor, &monitor) {
        bus.Clear();
    }
    ~UdevDiscovery() override {
        window.reset();
        bus.Clear();
    }

    void Start() {
        window = std::make_unique<FakeWindow>(
            PageTable{{"Send", IDD_SET_DENSITY, 0, nullptr}},
            [](const PageRow&, IPageHost* host) { return new SendingPage(host); });
        page = static_cast<SendingPage*>(window->dlg.MakePage(0));
    }

    // "text|path" per entry ("text|" for the entry that is no printer).
    std::vector<std::string> Entries() const {
        std::vector<std::string> entries;
        const fake::FakeDialog& host = window->host;
        const std::vector<CEnumeratedPrinter>& printers = window->dlg.Printers();
        for (int i = 0; i < host.GetCount(IDC_PRINTER_COMBO); ++i) {
            const auto at = static_cast<std::size_t>(i);
            entries.push_back(
                host.GetString(IDC_PRINTER_COMBO, i) + "|" +
                (at < printers.size() ? printers[at].m_strDevicePath : std::string()));
        }
        return entries;
    }

    bool WaitForEntries(const std::vector<std::string>& expected) {
        return ProcessEventsUntil([&] { return Entries() == expected; });
    }

    std::string SelectedEntry() const {
        const int i = window->host.GetCurSel(IDC_PRINTER_COMBO);
        return i < 0 ? std::string() : Entries()[static_cast<std::size_t>(i)];
    }

    MockUsbBus& bus;
    FakePlatform platform;
    PosixDeviceOpener opener;
    UdevEnumerator udevEnumerator;
    CountingEnumerator counting;
    UdevMonitor monitor;
    ScopedServices useOpener;
    ScopedServices useEnumerator;
    ScopedServices useMonitor;
    std::unique_ptr<FakeWindow> window;
    SendingPage* page = nullptr; // owned by the window
};

TEST_F(UdevDiscovery, EnumeratesPrinterInterfacesWithTheirParentsIdentity) {
    bus.AddPrinter(0x1203, 0x0126, 1, 0);
    bus.AddPrinter(0x067B, 0x2305, 2, 1);
    bus.AddPrinter(0x1203, 0x9999, 3, 2);
    bus.AddPrinter(0x04B8, 0x0005, 4, 3);
    bus.PlugHidDevice(5, 0);
    bus.PlugMemoryStick();

    std::vector<RawDeviceInterface> raw;
    ASSERT_TRUE(udevEnumerator.Enumerate(raw));
    struct Expected {
        const char* node;
        const char* location;
        UsbId usbId;
    };
    const Expected expected[] = {
        {"/dev/usb/lp0", "1-1", {0x1203, 0x0126}},
        {"/dev/usb/lp1", "1-2", {0x067B, 0x2305}},
        {"/dev/usb/lp2", "1-3", {0x1203, 0x9999}},
        {"/dev/usb/lp3", "1-4", {0x04B8, 0x0005}},
    };
    ASSERT_EQ(raw.size(), std::size(expected)); // no hiddev, no disk
    for (std::size_t i = 0; i < raw.size(); ++i) {
        EXPECT_EQ(raw[i].devicePath, expected[i].node);
        EXPECT_EQ(raw[i].location.value_or("(unreadable)"), expected[i].location);
        ASSERT_TRUE(raw[i].usbId.has_value()) << raw[i].devicePath;
        EXPECT_EQ(raw[i].usbId->vendor, expected[i].usbId.vendor) << raw[i].devicePath;
        EXPECT_EQ(raw[i].usbId->product, expected[i].usbId.product) << raw[i].devicePath;
    }

    Start();
    EXPECT_EQ(Entries(), (std::vector<std::string>{std::string(kP) + "|/dev/usb/lp0",
                                                   std::string(kA) + "|/dev/usb/lp1"}));
    EXPECT_EQ(SelectedEntry(), std::string(kP) + "|/dev/usb/lp0");
}

TEST_F(UdevDiscovery, WindowFollowsArrivalAndRemoval) {
    Start();
    ASSERT_TRUE(monitor.IsListening());
    EXPECT_EQ(Entries(), std::vector<std::string>{std::string(kNone) + "|"});
    EXPECT_FALSE(page->PrinterAvailable());

    const MockUsbDevice printer = bus.AddPrinter(0x1203, 0x0126, 1, 0);
    ASSERT_TRUE(WaitForEntries({std::string(kP) + "|/dev/usb/lp0"}));
    EXPECT_TRUE(page->PrinterAvailable());

    const MockUsbDevice adapter = bus.AddPrinter(0x067B, 0x2305, 2, 1);
    ASSERT_TRUE(
        WaitForEntries({std::string(kP) + "|/dev/usb/lp0", std::string(kA) + "|/dev/usb/lp1"}));
    ASSERT_TRUE(window->host.Choose(IDC_PRINTER_COMBO, 1));

    // A third device arrives in front of the selected one: the selection follows its path.
    const MockUsbDevice third = bus.AddPrinter(0x1203, 0x0126, 0, 2);
    ASSERT_TRUE(
        WaitForEntries({std::string(kP) + "|/dev/usb/lp2", std::string(kP) + "|/dev/usb/lp0",
                        std::string(kA) + "|/dev/usb/lp1"}));
    EXPECT_EQ(SelectedEntry(), std::string(kA) + "|/dev/usb/lp1");

    // The selected device goes: the first entry is selected.
    bus.Unplug(adapter);
    ASSERT_TRUE(
        WaitForEntries({std::string(kP) + "|/dev/usb/lp2", std::string(kP) + "|/dev/usb/lp0"}));
    EXPECT_EQ(window->host.GetCurSel(IDC_PRINTER_COMBO), 0);

    bus.Unplug(printer);
    bus.Unplug(third);
    ASSERT_TRUE(WaitForEntries({std::string(kNone) + "|"}));
    EXPECT_FALSE(page->PrinterAvailable());
}

TEST_F(UdevDiscovery, EventsOfOtherDevicesDoNotRebuild) {
    const MockUsbDevice present = bus.AddPrinter(0x1203, 0x0126, 1, 0);
    Start();
    const int callsAtStart = counting.calls;

    bus.PlugMemoryStick();            // another subsystem
    bus.PlugHidDevice(2, 0);          // usbmisc, but not a printer
    bus.Uevent(present.lp, "change"); // our node, but neither arrival nor removal
    bus.Uevent(present.usbDevice, "change");
    bus.Uevent(present.interface, "unbind");
    Settle();
    EXPECT_EQ(counting.calls, callsAtStart);

    // An arrival after them rebuilds once: the events before it were read and dropped.
    bus.AddPrinter(0x067B, 0x2305, 4, 2);
    ASSERT_TRUE(
        WaitForEntries({std::string(kP) + "|/dev/usb/lp0", std::string(kA) + "|/dev/usb/lp2"}));
    EXPECT_EQ(counting.calls, callsAtStart + 1);
}

TEST_F(UdevDiscovery, JobFromAPageArrivesByteExactInTheNode) {
    const MockUsbDevice printer = bus.AddPrinter(0x1203, 0x0126, 1, 0);
    Start();
    std::string job = "\r\nQVX5930\r\n\r\n\r\nDOWNLOAD \"LOGO1.PCX\",256,";
    for (int b = 0; b < 256; ++b) {
        job += static_cast<char>(b);
    }
    job += "\r\nMOVE\r\n";

    EXPECT_TRUE(page->Send(job));
    EXPECT_EQ(bus.ReadNode(printer), job);
    EXPECT_TRUE(platform.box.shown.empty());
    EXPECT_EQ(platform.cursor.begins, 1);
    EXPECT_EQ(platform.cursor.depth, 0);
    EXPECT_EQ(page->PrinterName(), kP);
}

enum class Sabotage { Vanished, Unwritable };

void PrintTo(Sabotage s, std::ostream* os) {
    *os << (s == Sabotage::Vanished ? "vanished node" : "unwritable node");
}

class UnopenableNode : public UdevDiscovery, public ::testing::WithParamInterface<Sabotage> {};

TEST_P(UnopenableNode, ReportsCantOpenAndTheNextJobStartsClean) {
    const MockUsbDevice printer = bus.AddPrinter(0x1203, 0x0126, 1, 0);
    Start();
    // The node goes bad between listing and sending, with no event in between.
    if (GetParam() == Sabotage::Vanished) {
        bus.MakeNodeVanish(printer);
    } else {
        bus.MakeNodeUnwritable(printer);
    }

    EXPECT_FALSE(page->Send("first job\r\n"));
    ASSERT_EQ(platform.box.shown.size(), 1u);
    EXPECT_EQ(platform.box.shown[0].text, "Error : can't open 'Brimwell printer'");
    EXPECT_EQ(platform.box.shown[0].icon, MsgIcon::Warning);
    EXPECT_EQ(platform.box.shown[0].buttons, MsgButtons::Ok);
    // The device is opened by the job's work, under the wait cursor; the cursor is gone again.
    EXPECT_EQ(platform.cursor.depth, 0);
    EXPECT_FALSE(page->Job().IsDeviceOpen());
    EXPECT_EQ(page->Job().SpoolSize(), 0u);
    EXPECT_EQ(platform.ticks.sleeps.size(), 0u); // a failed job is closed without the hold

    bus.RestoreNode(printer);
    EXPECT_TRUE(page->Send("second job\r\n"));
    EXPECT_EQ(bus.ReadNode(printer), "second job\r\n");
    EXPECT_EQ(platform.box.shown.size(), 1u);
    EXPECT_EQ(platform.cursor.begins, 2);
    EXPECT_EQ(platform.cursor.depth, 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, UnopenableNode,
                         ::testing::Values(Sabotage::Vanished, Sabotage::Unwritable),
                         [](const ::testing::TestParamInfo<Sabotage>& info) {
                             return info.param == Sabotage::Vanished ? "Vanished" : "Unwritable";
                         });

// A printer that takes nothing is unplugged in the middle of its job: the window's own loop
// goes on (the list is rebuilt at once), the job fails with its reason once the stall limit has
// run out, and the wait cursor is gone.
TEST_F(UdevDiscovery, APrinterUnpluggedDuringAStalledJobFailsItAndLeavesTheList) {
    const MockUsbDevice printer = bus.AddPrinter(0x1203, 0x0126, 1, 0);
    const std::string node = bus.NodeFile(printer);
    ::unlink(node.c_str());
    ASSERT_EQ(::mkfifo(node.c_str(), 0600), 0);
    const int reader = ::open(node.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    const int fill = ::open(node.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    while (::write(fill, "xxxxxxxx", 8) > 0) {
    }
    ::close(fill);
    // Notes when the job's worker has opened the node, so that the unplug comes in the middle
    // of the write and not before the open.
    struct NotingOpener : IDeviceOpener {
        std::unique_ptr<IDeviceHandle> OpenForWrite(const std::string& path) override {
            auto handle = inner.OpenForWrite(path);
            opened = handle != nullptr;
            return handle;
        }
        PosixDeviceOpener inner{SystemPosixCalls(), nullptr, /*stallLimitMs=*/800};
        std::atomic<bool> opened{false};
    } stalling;
    QtJobRunner runner;
    ScopedServices useStalling(&Services::deviceOpener, &stalling);
    ScopedServices useRunner(&Services::jobRunner, &runner);
    Start();
    ASSERT_TRUE(WaitForEntries({std::string(kP) + "|" + "/dev/usb/lp0"}));

    EXPECT_TRUE(page->Send("RKW7047\r\n8\r\n")); // started: the job runs on
    EXPECT_TRUE(CFuncDlg::RunningJob().sending);
    ASSERT_TRUE(ProcessEventsUntil([&] { return stalling.opened.load(); }));
    bus.Unplug(printer);
    EXPECT_TRUE(WaitForEntries({std::string(kNone) + "|"}));
    EXPECT_TRUE(ProcessEventsUntil([] { return !CFuncDlg::JobRunning(); }));
    ::close(reader);
    ASSERT_EQ(platform.box.shown.size(), 1u);
    EXPECT_EQ(platform.box.shown[0].text,
              "Error : write failure for 'Brimwell printer': Connection timed out");
    EXPECT_EQ(platform.cursor.depth, 0);
}

TEST_F(UdevDiscovery, StormOfEventsLeavesTheListMatchingTheBus) {
    Start();
    constexpr int kSlots = 4;
    std::vector<MockUsbDevice> present(kSlots);
    std::vector<bool> plugged(kSlots, false);
    // 100 arrivals and removals spread unevenly over four ports, in bursts of four: the
    // emulated netlink socket holds only a few datagrams (net.unix.max_dgram_qlen), where
    // the kernel's would hold far more, so the window gets a turn between bursts.
    for (int i = 0; i < 100; ++i) {
        if (i % 4 == 0) {
            QCoreApplication::processEvents();
        }
        const int slot = (i * 7 + i / 5) % kSlots;
        if (plugged[slot]) {
            bus.Unplug(present[slot]);
        } else {
            const unsigned product = slot == 2 ? 0x2305 : 0x0126;
            present[slot] = bus.AddPrinter(slot == 2 ? 0x067B : 0x1203, product, slot + 1, slot);
        }
        plugged[slot] = !plugged[slot];
    }
    std::vector<std::string> expected;
    for (int slot = 0; slot < kSlots; ++slot) {
        if (plugged[slot]) {
            expected.push_back(std::string(slot == 2 ? kA : kP) + "|/dev/usb/lp" +
                               std::to_string(slot));
        }
    }
    if (expected.empty()) {
        expected.push_back(std::string(kNone) + "|");
    }
    ASSERT_TRUE(WaitForEntries(expected));
    Settle();
    EXPECT_EQ(Entries(), expected);
    EXPECT_EQ(page->PrinterAvailable(), expected.front() != std::string(kNone) + "|");
}

TEST_F(UdevDiscovery, CliListPrintsTheDevices) {
    bus.AddPrinter(0x067B, 0x2305, 1, 4);
    bus.AddPrinter(0x1203, 0x9999, 2, 5);
    bus.AddPrinter(0x1203, 0x0126, 3, 6);
    fake::FixedClock clock;
    OutputFileOpener output;
    cli::CliServices services{platform.profile, clock,  udevEnumerator,
                              opener,           output, platform.ticks};
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(cli::RunCli({"list"}, services, out, err), cli::EXIT_DONE);
    EXPECT_EQ(out.str(),
              "1\tUSB-to-Parallel adapter\t/dev/usb/lp4\n2\tBrimwell printer\t/dev/usb/lp6\n");
    EXPECT_EQ(err.str(), "");

    bus.Clear();
    out.str("");
    EXPECT_EQ(cli::RunCli({"list"}, services, out, err), cli::EXIT_DONE);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str(), "brimwell-cli: No printer found\n");
}

TEST_F(UdevDiscovery, CliJobGoesToTheFirstListedPrinter) {
    bus.AddPrinter(0x1203, 0x9999, 1, 0);
    const MockUsbDevice first = bus.AddPrinter(0x1203, 0x0126, 2, 1);
    const MockUsbDevice second = bus.AddPrinter(0x067B, 0x2305, 3, 2);
    fake::FixedClock clock;
    OutputFileOpener output;
    cli::CliServices services{platform.profile, clock,  udevEnumerator,
                              opener,           output, platform.ticks};
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(cli::RunCli({"density", "5"}, services, out, err), cli::EXIT_DONE);
    EXPECT_EQ(err.str(), "");
    EXPECT_EQ(bus.ReadNode(first), "RKW7047\r\n5\r\n");
    EXPECT_EQ(bus.ReadNode(second), "");

    // The CLI names the device path when it cannot open it.
    bus.MakeNodeVanish(first);
    EXPECT_EQ(cli::RunCli({"density", "5"}, services, out, err), cli::EXIT_PRINTER);
    EXPECT_EQ(err.str(),
              "brimwell-cli: Error : can't open '/dev/usb/lp1': No such file or directory\n");
}

} // namespace
} // namespace brimwell::test
