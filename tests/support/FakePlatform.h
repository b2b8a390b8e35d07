#pragma once
#include "app/CBrimwellDlg.h"
#include "hosts/fake/FakeDialog.h"
#include "hosts/fake/FakeWindowServices.h"
#include "platform/fake/FakeServices.h"
#include "ui/Services.h"

#include <initializer_list>
#include <string>

namespace brimwell::test {

// Every platform service replaced by its double for the lifetime of the object.
struct FakePlatform {
    fake::RecordingMessageBox box;
    fake::MemoryProfile profile;
    fake::FakeTicks ticks;
    fake::FixedClock clock;
    fake::CountingWaitCursor cursor;
    fake::FakeDeviceOpener opener;
    fake::ScriptedFileDialog files;
    fake::FakeEnumerator enumerator;
    fake::FakeMonitor monitor;
    fake::MemoryFileSource fileSource;
    ScopedServices scope{Services{&box, &profile, &ticks, &clock, &cursor, &opener, &files,
                                  &enumerator, &monitor, &fileSource}};

    // Lists a printer at path whose device accepts writes.
    fake::FakeDeviceOpener::Device& AddPrinter(const std::string& path, unsigned vendor = 0x1203,
                                               unsigned product = 0x0126) {
        enumerator.devices.push_back(fake::FakeEnumerator::Usb(path, vendor, product));
        return opener.Add(path);
    }
};

// The main window's logic running in a fake host: the window as the user finds it after
// start-up, each page's controls reachable through Page(slot).
struct FakeWindow {
    explicit FakeWindow(PageTable table = FunctionPages(),
                        CBrimwellDlg::PageFactory factory = nullptr)
        : dlg(std::move(table), std::move(factory)) {
        host.Create(dlg);
    }
    // The host of the page in `slot` (which must hold one), made now if its row has not been
    // selected yet.
    fake::FakeDialog& Page(int slot) { return *host.Child(*dlg.MakePage(slot)); }
    // The user picks a row of the function list.
    bool SelectRow(int row) { return host.Choose(IDC_FUNCTION_LIST, row); }
    std::vector<int> VisiblePages() {
        std::vector<int> shown;
        for (int i = 0; i < dlg.PageCount(); ++i) {
            if (dlg.Page(i) && Page(i).IsShown()) {
                shown.push_back(i);
            }
        }
        return shown;
    }
    // The printer list's entries as the user reads them.
    std::vector<std::string> Printers() const { return host.Find(IDC_PRINTER_COMBO)->strings; }

    CBrimwellDlg dlg;
    fake::FakeDialog host{*FindDialogTemplate(IDD_BRIMWELL_DIALOG)};
};

// The delivered row of a dialog id and argument; for an argument no delivered row has, the
// first row of the dialog id with its argument replaced; for a dialog id no delivered row has,
// a row without a factory.
inline PageRow RowOf(int dialogId, int pageArg = 0) {
    const PageTable& rows = FunctionPages();
    for (const PageRow& row : rows) {
        if (row.dialogId == dialogId && row.pageArg == pageArg) {
            return row;
        }
    }
    for (const PageRow& row : rows) {
        if (row.dialogId == dialogId) {
            return PageRow{row.title, dialogId, pageArg, row.make};
        }
    }
    return PageRow{"", dialogId, pageArg, nullptr};
}

// A page table with one row per dialog id given, titled "Row <n>", each with the delivered
// factory of its dialog id.
inline PageTable TableOf(std::initializer_list<int> ids) {
    static const char* const kTitles[] = {"Row 0",  "Row 1",  "Row 2",  "Row 3",  "Row 4",
                                          "Row 5",  "Row 6",  "Row 7",  "Row 8",  "Row 9",
                                          "Row 10", "Row 11", "Row 12", "Row 13", "Row 14",
                                          "Row 15", "Row 16", "Row 17", "Row 18", "Row 19"};
    PageTable table;
    for (int id : ids) {
        PageRow row = RowOf(id);
        row.title = kTitles[table.size()];
        table.push_back(row);
    }
    return table;
}

} // namespace brimwell::test
