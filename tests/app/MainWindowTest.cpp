// The main window's logic: the function list and its pages, the widening rule, closing, and
// the device-event registration.
#include "logo/CCfgLogoDlg.h"
#include "support/FakePlatform.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace brimwell::test {

namespace {

// A page built from any template, as wide as that template says.
class PlainPage : public CFuncDlg {
public:
    PlainPage(int id, int arg, IPageHost* parent, const DialogTemplate* tmpl = nullptr)
        : CFuncDlg(id, parent), pageArg(arg) {
        m_pTemplateOverride = tmpl ? tmpl : FindDialogTemplate(IDD_SET_DATE_TIME);
    }
    int pageArg;
};

CBrimwellDlg::PageFactory PlainPages(const DialogTemplate* tmpl = nullptr) {
    return [tmpl](const PageRow& row, IPageHost* host) -> CFuncDlg* {
        return row.dialogId == 999 ? nullptr : new PlainPage(row.dialogId, row.pageArg, host, tmpl);
    };
}

} // namespace

TEST(MainWindow, ListsTheElevenFunctionsInTableOrderWithWelcomeSelected) {
    FakePlatform platform;
    FakeWindow window(FunctionPages(), PlainPages());
    const std::vector<std::string> expected = {"Welcome",
                                               "About Brimwell",
                                               "Help : Connecting a Printer",
                                               "Help : Updating Firmware",
                                               "Help : Creating Logos",
                                               "Update Printer Firmware",
                                               "Configure Tester Type",
                                               "Configure Print Density",
                                               "Configure Pass Logo",
                                               "Configure Fail Logo",
                                               "Generate Test Label"};
    EXPECT_EQ(window.host.At(IDC_FUNCTION_LIST).strings, expected);
    EXPECT_EQ(window.host.GetCurSel(IDC_FUNCTION_LIST), 0);
    EXPECT_EQ(window.host.icon, IDR_MAINFRAME);
    // The logo pages get their arguments: 0 for pass, 1 for fail.
    EXPECT_EQ(static_cast<PlainPage*>(window.dlg.MakePage(8))->pageArg, 0);
    EXPECT_EQ(static_cast<PlainPage*>(window.dlg.MakePage(9))->pageArg, 1);
    EXPECT_EQ(window.dlg.PageCount(), 11);
    EXPECT_EQ(window.dlg.MakePage(11), nullptr);
    EXPECT_EQ(window.dlg.MakePage(-1), nullptr);
}

// Each delivered row builds its page from its own factory: the page of its template, titled
// as the row.
TEST(MainWindow, EveryDeliveredRowBuildsThePageOfItsTemplateWithItsTitle) {
    FakePlatform platform;
    FakeWindow window;
    const PageTable& rows = FunctionPages();
    ASSERT_EQ(window.dlg.PageCount(), static_cast<int>(rows.size()));
    for (int slot = 0; slot < window.dlg.PageCount(); ++slot) {
        SCOPED_TRACE(slot);
        const CFuncDlg* page = window.dlg.MakePage(slot);
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->DialogId(), rows[static_cast<std::size_t>(slot)].dialogId);
        EXPECT_EQ(page->Title(), rows[static_cast<std::size_t>(slot)].title);
    }
}

TEST(MainWindow, ShowsOnlyTheSelectedPageAndEveryPageStandsAt210) {
    FakePlatform platform;
    FakeWindow window(FunctionPages(), PlainPages());
    EXPECT_EQ(window.VisiblePages(), std::vector<int>{0});
    for (int slot : {9, 8, 3, 0}) {
        ASSERT_TRUE(window.SelectRow(slot));
        EXPECT_EQ(window.VisiblePages(), std::vector<int>{slot});
    }
    for (int i = 0; i < 11; ++i) {
        EXPECT_EQ(std::make_pair(window.Page(i).left, window.Page(i).top),
                  std::make_pair(kPageLeft, 0));
    }
}

TEST(MainWindow, ARowWithAnUnknownDialogIsListedWithoutAPage) {
    FakePlatform platform;
    const PageTable table = {{"Known", 144, 0, nullptr}, {"Mystery", 999, 0, nullptr}};
    FakeWindow window(table, PlainPages());
    EXPECT_EQ(window.host.At(IDC_FUNCTION_LIST).strings,
              (std::vector<std::string>{"Known", "Mystery"}));
    EXPECT_EQ(window.dlg.MakePage(1), nullptr);
    ASSERT_TRUE(window.SelectRow(1));
    EXPECT_TRUE(window.VisiblePages().empty());
}

// The template the single row of the sizing cases is made from; fit reads it, as the
// delivered rows' fit reads their own template.
DialogTemplate g_sizedTemplate;

DlgSize FitSizedTemplate(const IDialog& window, const DialogTemplate&) {
    return window.ChildClientSize(g_sizedTemplate);
}

TEST(MainWindow, IsSizedAtStartForPagesNotMadeYetAndKeepsThatSize) {
    const DialogTemplate& base = *FindDialogTemplate(IDD_SET_DATE_TIME);
    const DlgSize window = fake::FakeDialog(*FindDialogTemplate(IDD_BRIMWELL_DIALOG)).ClientSize();
    struct Case {
        const char* name;
        int cx, cy; // the page's template size in dialog units
    };
    for (const Case& c : {Case{"fits", base.cx, base.cy}, Case{"wider", 800, base.cy},
                          Case{"taller", base.cx, 500}, Case{"both", 700, 600}}) {
        SCOPED_TRACE(c.name);
        FakePlatform platform;
        g_sizedTemplate = base;
        g_sizedTemplate.cx = c.cx;
        g_sizedTemplate.cy = c.cy;
        const PageTable table = {{"Welcome", IDD_WELCOME, 0, nullptr},
                                 {"Sized", IDD_SET_DATE_TIME, 0, nullptr, &FitSizedTemplate}};
        FakeWindow w(table, PlainPages(&g_sizedTemplate));
        ASSERT_EQ(w.dlg.Page(1), nullptr); // not made until its row is selected
        const DlgRect inPixels = fake::TemplateRectInPixels(0, 0, c.cx, c.cy);
        const DlgSize page{inPixels.cx, inPixels.cy};
        const DlgSize expected{std::max(window.cx, kPageLeft + page.cx),
                               std::max(window.cy, page.cy)};
        EXPECT_EQ(w.host.ClientSize(), expected);
        ASSERT_TRUE(w.SelectRow(1));
        EXPECT_EQ(w.host.ClientSize(), expected); // making the page changed nothing
        EXPECT_EQ(w.Page(1).ClientSize().cx, page.cx);
        EXPECT_EQ(w.Page(1).ClientSize().cy, expected.cy); // reaches to the bottom
    }
}

// The logo page grows when its preview's fixed size runs past the template's preview: the
// size the window reserves for it beforehand is the size it takes once made.
TEST(MainWindow, TheLogoPagesFitIsTheSizeTheMadePageTakes) {
    DialogTemplate shortPreview = *FindDialogTemplate(IDD_CFG_LOGO);
    for (ControlTemplate& c : shortPreview.controls) {
        if (c.id == IDC_LOGO_PREVIEW) {
            c.cy = 100;
        }
    }
    const fake::FakeDialog window(*FindDialogTemplate(IDD_BRIMWELL_DIALOG));
    for (const DialogTemplate* tmpl :
         {FindDialogTemplate(IDD_CFG_LOGO), static_cast<const DialogTemplate*>(&shortPreview)}) {
        FakePlatform platform;
        CCfgLogoDlg page(nullptr, 0);
        fake::FakeDialog made(*tmpl);
        made.Create(page);
        EXPECT_EQ(made.ClientSize(), CCfgLogoDlg::FitSize(window, *tmpl))
            << (tmpl == &shortPreview ? "short preview" : "delivered");
    }
    EXPECT_GT(CCfgLogoDlg::FitSize(window, shortPreview).cy,
              window.ChildClientSize(shortPreview).cy);
}

// The separator stands right of x = 210: wherever the page area is, a page covers it.
TEST(MainWindow, EveryPageCoversTheSeparatorToTheBottomOfTheWindow) {
    FakePlatform platform;
    FakeWindow window; // the real pages, the shortest 104 dialog units high
    const ControlTemplate& separator =
        *std::find_if(FindDialogTemplate(IDD_BRIMWELL_DIALOG)->controls.begin(),
                      FindDialogTemplate(IDD_BRIMWELL_DIALOG)->controls.end(),
                      [](const ControlTemplate& c) { return c.style & CtlStyle::EtchedVertical; });
    const DlgRect line =
        fake::TemplateRectInPixels(separator.x, separator.y, separator.cx, separator.cy);
    ASSERT_GE(line.x, kPageLeft);
    for (int slot = 0; slot < 11; ++slot) {
        SCOPED_TRACE(slot);
        const fake::FakeDialog& page = window.Page(slot);
        EXPECT_LE(page.left, line.x);
        EXPECT_GE(page.left + page.ClientSize().cx, line.Right());
        EXPECT_EQ(page.top, 0);
        EXPECT_GE(page.ClientSize().cy, window.host.ClientSize().cy);
    }
}

TEST(MainWindow, TheCloseCommandEndsTheRunWithOk) {
    FakePlatform platform;
    FakeWindow window(FunctionPages(), PlainPages());
    EXPECT_FALSE(window.host.endResult);
    window.host.Close();
    EXPECT_EQ(window.host.endResult, DLG_RESULT_OK);
}

TEST(MainWindow, WithoutAFunctionListNoPageIsBuiltButPrintersAreListed) {
    FakePlatform platform;
    platform.AddPrinter("/dev/usb/lp0");
    const DialogTemplate damaged =
        FindDialogTemplate(IDD_BRIMWELL_DIALOG)->Without(IDC_FUNCTION_LIST);
    CBrimwellDlg dlg(FunctionPages(), PlainPages());
    fake::FakeDialog host(damaged);
    host.Create(dlg);
    EXPECT_TRUE(host.children.empty());
    EXPECT_EQ(host.At(IDC_PRINTER_COMBO).strings, std::vector<std::string>{"Brimwell printer"});
}

TEST(MainWindow, RegistersForDeviceEventsAndUnregistersOnDestruction) {
    FakePlatform platform;
    auto window = std::make_unique<FakeWindow>(FunctionPages(), PlainPages());
    EXPECT_EQ(window->Printers(), std::vector<std::string>{"No printer found"});
    platform.AddPrinter("/dev/usb/lp3");
    platform.monitor.Plug();
    EXPECT_EQ(window->Printers(), std::vector<std::string>{"Brimwell printer"});
    window.reset();
    const int calls = platform.enumerator.calls;
    platform.monitor.Plug(); // no window any more: nothing happens
    EXPECT_EQ(platform.enumerator.calls, calls);
}

} // namespace brimwell::test
