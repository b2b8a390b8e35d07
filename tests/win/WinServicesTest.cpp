// The Win32 device monitor's reading of WM_DEVICECHANGE and its quiet period, the file
// dialog's filter, the wait cursor, and which addresses reach the browser or mail program.
#include "hosts/win32/WinFileDialog.h"
#include "hosts/win32/WinLinks.h"
#include "hosts/win32/WinMessageBox.h"
#include "hosts/win32/WinWaitCursor.h"
#include "platform/windows/WinDeviceMonitor.h"
#include "win/WinTestSupport.h"

#include <dbt.h>

#include <gtest/gtest.h>

namespace brimwell::test {
namespace {

DEV_BROADCAST_DEVICEINTERFACE_W Interface(const GUID& guid) {
    DEV_BROADCAST_DEVICEINTERFACE_W data{};
    data.dbcc_size = sizeof data;
    data.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    data.dbcc_classguid = guid;
    return data;
}

TEST(DeviceChange, OnlyPrinterInterfacesAndTheDeviceTreeRebuild) {
    const GUID other = {
        0xa5dcbf10, 0x6530, 0x11d2, {0x90, 0x1f, 0x00, 0xc0, 0x4f, 0xb9, 0x51, 0xed}};
    auto printer = Interface(kUsbPrintInterfaceClass);
    auto hub = Interface(other);
    DEV_BROADCAST_HDR volume{};
    volume.dbch_size = sizeof volume;
    volume.dbch_devicetype = DBT_DEVTYP_VOLUME;
    auto shortRecord = printer;
    shortRecord.dbcc_size = 8;
    const struct {
        WPARAM event;
        const void* data;
        DeviceChange expected;
    } cases[] = {
        {DBT_DEVNODES_CHANGED, nullptr, DeviceChange::Rebuild},
        {DBT_DEVICEARRIVAL, &printer, DeviceChange::Rebuild},
        {DBT_DEVICEREMOVECOMPLETE, &printer, DeviceChange::Rebuild},
        {DBT_DEVICEARRIVAL, &hub, DeviceChange::None},
        {DBT_DEVICEARRIVAL, &volume, DeviceChange::None},
        {DBT_DEVICEARRIVAL, &shortRecord, DeviceChange::None},
        {DBT_DEVICEARRIVAL, nullptr, DeviceChange::None},
        {DBT_DEVICEQUERYREMOVE, &printer, DeviceChange::None},
        {DBT_CONFIGCHANGED, nullptr, DeviceChange::None},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.event);
        EXPECT_EQ(ClassifyDeviceChange(c.event, reinterpret_cast<LPARAM>(c.data)), c.expected);
    }
}

TEST(WinDeviceMonitor, BurstMakesOneReportAfterTheQuietPeriod) {
    WinDeviceMonitor monitor(40);
    int reports = 0;
    monitor.SetChangeHandler([&] { ++reports; });
    ASSERT_NE(monitor.Window(), nullptr);
    EXPECT_TRUE(monitor.Registered());
    auto printer = Interface(kUsbPrintInterfaceClass);
    SendMessageW(monitor.Window(), WM_DEVICECHANGE, DBT_DEVICEARRIVAL,
                 reinterpret_cast<LPARAM>(&printer));
    SendMessageW(monitor.Window(), WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
    SendMessageW(monitor.Window(), WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
    EXPECT_EQ(reports, 0);
    PumpMessages(300);
    EXPECT_EQ(reports, 1);
    monitor.SetChangeHandler({});
    EXPECT_EQ(monitor.Window(), nullptr);
    EXPECT_FALSE(monitor.Registered());
}

TEST(WinDeviceMonitor, ACloseFromOutsideLeavesItListeningAndADestroyedWindowIsForgotten) {
    WinDeviceMonitor monitor(0);
    int reports = 0;
    monitor.SetChangeHandler([&] { ++reports; });
    const HWND window = monitor.Window();
    ASSERT_NE(window, nullptr);
    SendMessageW(window, WM_CLOSE, 0, 0);
    SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(IsWindow(window));
    EXPECT_EQ(monitor.Window(), window);
    EXPECT_TRUE(monitor.Registered());
    SendMessageW(window, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
    EXPECT_EQ(reports, 1);
    // Destroyed all the same: nothing of it is kept, and the next handler makes a new one.
    DestroyWindow(window);
    EXPECT_EQ(monitor.Window(), nullptr);
    EXPECT_FALSE(monitor.Registered());
    monitor.SetChangeHandler([&] { ++reports; });
    ASSERT_NE(monitor.Window(), nullptr);
    SendMessageW(monitor.Window(), WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
    EXPECT_EQ(reports, 2);
}

TEST(NativeFileFilter, PairsBecomeZeroSeparatedStrings) {
    using namespace std::string_literals;
    const struct {
        const char* filter;
        std::wstring expected;
    } cases[] = {
        {"Logos (*.bmp;*.pcx)|*.bmp;*.pcx|All Files (*.*)|*.*||",
         L"Logos (*.bmp;*.pcx)\0*.bmp;*.pcx\0All Files (*.*)\0*.*\0\0"s},
        {"Firmware (*.bin)|*.bin||", L"Firmware (*.bin)\0*.bin\0\0"s},
        {"Dangling|", L"\0"s},
        {"", L"\0"s},
        {"M\xC3\xBCll|*.m\xC3\xBC||", L"M\u00FCll\0*.m\u00FC\0\0"s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.filter);
        EXPECT_EQ(NativeFileFilter(c.filter), c.expected);
    }
}

TEST(WinWaitCursor, CountsNestedJobs) {
    WinWaitCursor cursor;
    EXPECT_FALSE(WaitCursorShown());
    cursor.Begin();
    cursor.Begin();
    cursor.End();
    EXPECT_TRUE(WaitCursorShown());
    cursor.End();
    EXPECT_FALSE(WaitCursorShown());
    cursor.End(); // one End too many changes nothing
    cursor.Begin();
    EXPECT_TRUE(WaitCursorShown());
    cursor.End();
}

TEST(Addresses, OnlyMailAndWebTargetsReachTheOpener) {
    std::vector<std::wstring> opened;
    const UrlOpener saved = SetUrlOpener([&](const std::wstring& url) { opened.push_back(url); });
    for (const wchar_t* target :
         {L"mailto:a@b.example", L"https://b.example", L"http://b.example",
          L"file:///C:/Windows/notepad.exe", L"C:\\Windows\\notepad.exe", L"cmd /c calc", L""}) {
        OpenUrl(target);
    }
    EXPECT_EQ(opened, (std::vector<std::wstring>{L"mailto:a@b.example", L"https://b.example",
                                                 L"http://b.example"}));
    SetUrlOpener(saved);
}

} // namespace
} // namespace brimwell::test
