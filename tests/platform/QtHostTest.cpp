// The Qt host of the window logic: each control class bound to the dialog interface (state set
// and read back through the widgets, notifications routed), and the real pages in it.
#include "draw/LabelPreviewPainter.h"
#include "hosts/qt/DialogBuilder.h"
#include "hosts/qt/QtDialog.h"
#include "hosts/qt/QtEditBrowse.h"
#include "hosts/qt/QtJobRunner.h"
#include "hosts/qt/QtLabelPreview.h"
#include "hosts/qt/QtRichTextView.h"
#include "hosts/qt/QtSessionGuard.h"
#include "info/InfoDocuments.h"
#include "logo/CCfgLogoDlg.h"
#include "logo/LogoTestSupport.h"
#include "platform/linux/SystemClock.h"
#include "resources/AppIcon.h"
#include "resources/Pictures.h"
#include "support/FakePlatform.h"
#include "support/RecordingLogic.h"
#include "tester/UserNameCodec.h"
#include "text/RtfReader.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDBusMessage>
#include <QDBusUnixFileDescriptor>
#include <QDBusVirtualObject>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSlider>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <future>
#include <gtest/gtest.h>
#include <memory>
#include <system_error>
#include <thread>
#include <tuple>
#include <unistd.h>

namespace brimwell::test {
namespace {

// One page template built into a widget, bound and attached.
struct Bound {
    explicit Bound(int templateId) : logic(templateId) {
        BuildDialog(&root, *FindDialogTemplate(templateId));
        host.Attach(logic);
    }
    template <class T>
    T* Get(int id) {
        return GetDlgItemAs<T>(&root, id);
    }
    QWidget root;
    RecordingLogic logic;
    QtDialog host{&root};
};

// What the widgets show of the dialog interface's calls; the calls themselves are held to the
// dialog contract (QtDialogContractTest.cpp).
TEST(QtHost, AStaticShowsDoubledAmpersandsAsOneAndAButtonLeavesThemToQt) {
    Bound page(IDD_SET_DATE_TIME);
    page.host.SetItemText(IDC_SEND_DATE_TIME, "A && B");
    EXPECT_EQ(page.Get<QPushButton>(IDC_SEND_DATE_TIME)->text(), "A && B"); // drawn as "A & B"
    Bound cfg(IDD_CFG_TESTER_TYPE);
    cfg.host.SetItemText(IDC_USER_NAME_CAPTION, "Name && more");
    EXPECT_EQ(cfg.Get<QLabel>(IDC_USER_NAME_CAPTION)->text(), "Name & more");
}

TEST(QtHost, EnableShowAndGeometryReachTheWidget) {
    Bound page(IDD_SET_DENSITY);
    page.root.show();
    for (int id : {IDC_SEND_DENSITY, IDC_DENSITY_SLIDER, IDC_DENSITY_VALUE}) {
        SCOPED_TRACE(id);
        QWidget* w = GetDlgItem(&page.root, id);
        page.host.EnableItem(id, false);
        EXPECT_FALSE(w->isEnabled());
        page.host.EnableItem(id, true);
        page.host.ShowItem(id, false);
        EXPECT_TRUE(w->isHidden());
        page.host.ShowItem(id, true);
        page.host.MoveItem(id, DlgRect{3, 4, 50, 20});
        EXPECT_EQ(w->geometry(), QRect(3, 4, 50, 20));
    }
    EXPECT_EQ(page.host.ClientSize(), (DlgSize{360, 189}));
    page.host.ResizeClient({400, 200});
    EXPECT_EQ(page.root.size(), QSize(400, 200));
}

TEST(QtHost, SetRedrawStopsAndResumesTheUpdatesOfAListOrCombo) {
    Bound window(IDD_BRIMWELL_DIALOG);
    for (int id : {IDC_FUNCTION_LIST, IDC_PRINTER_COMBO}) {
        SCOPED_TRACE(id);
        window.host.SetRedraw(id, false);
        EXPECT_FALSE(GetDlgItem(&window.root, id)->updatesEnabled());
        window.host.SetRedraw(id, true);
        EXPECT_TRUE(GetDlgItem(&window.root, id)->updatesEnabled());
    }
}

// Qt's own keys besides those of the contract (Up and Down step like Right and Left), and the
// thumb dragged.
TEST(QtHost, TrackbarUpAndDownKeysAndTheDraggedThumbReachTheLogic) {
    Bound page(IDD_SET_DENSITY);
    page.root.show();
    page.host.SetTrackRange(IDC_DENSITY_SLIDER, 1, 15);
    page.host.SetTrackPageSize(IDC_DENSITY_SLIDER, 2);
    QSlider* slider = page.Get<QSlider>(IDC_DENSITY_SLIDER);
    slider->setFocus();
    EXPECT_EQ(slider->pageStep(), 2);
    for (const auto& [key, value] : {std::pair{Qt::Key_Up, 9}, {Qt::Key_Down, 7}}) {
        SCOPED_TRACE(value);
        page.host.SetTrackPos(IDC_DENSITY_SLIDER, 8);
        page.logic.heard.clear();
        QTest::keyClick(slider, key);
        EXPECT_EQ(page.host.GetTrackPos(IDC_DENSITY_SLIDER), value);
        ASSERT_FALSE(page.logic.heard.empty());
        EXPECT_EQ(page.logic.heard.back(), Scroll(IDC_DENSITY_SLIDER, value));
    }
    // The thumb dragged, with or without tracking: every position is told.
    for (bool tracking : {true, false}) {
        slider->setTracking(tracking);
        page.logic.heard.clear();
        slider->setSliderDown(true);
        slider->setSliderPosition(1);
        slider->setSliderPosition(15);
        slider->setSliderDown(false);
        ASSERT_GE(page.logic.heard.size(), 2u);
        EXPECT_EQ(page.logic.heard.front(), Scroll(IDC_DENSITY_SLIDER, 1));
        EXPECT_EQ(page.logic.heard.back(), Scroll(IDC_DENSITY_SLIDER, 15));
    }
}

TEST(QtHost, TopDialogIgnoresEnterAndEscapeAndClosesOnlyWhenTheLogicEndsTheRun) {
    QtTopDialog dialog(*FindDialogTemplate(IDD_BRIMWELL_DIALOG));
    RecordingLogic logic(IDD_BRIMWELL_DIALOG);
    dialog.Dialog().Attach(logic);
    dialog.Dialog().SetIcon(IDR_MAINFRAME);
    EXPECT_EQ(dialog.windowTitle(), "Brimwell");
    EXPECT_FALSE(dialog.windowIcon().isNull());
    dialog.show();
    dialog.setResult(-1);
    for (auto key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
        QTest::keyClick(&dialog, key);
        QTest::keyClick(GetDlgItem(&dialog, IDC_FUNCTION_LIST), key);
        EXPECT_TRUE(dialog.isVisible());
    }
    EXPECT_EQ(dialog.result(), -1);
    EXPECT_TRUE(logic.heard.empty());
    dialog.close(); // the logic does not end the run: the window stays
    EXPECT_TRUE(dialog.isVisible());
    logic.onClose = [&] { logic.Dialog().EndDialog(DLG_RESULT_OK); };
    dialog.close();
    EXPECT_EQ(logic.heard.size(), 2u);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), DLG_RESULT_OK);
}

TEST(QtHost, AppIconIsRenderedAtTheFourSizes) {
    const QList<QSize> sizes = AppIcon().availableSizes();
    for (int s : kAppIconSizes) {
        EXPECT_TRUE(sizes.contains(QSize(s, s))) << s;
    }
}

// The real window logic in the Qt host, as the program runs it.
class QtWindow : public ::testing::Test, protected FakePlatform {
protected:
    QtWindow() {
        window.Dialog().Attach(logic);
        window.show();
    }
    QtDialog& Page(int slot) { return *static_cast<QtDialog*>(&logic.MakePage(slot)->Dialog()); }
    template <class T>
    T* Get(int slot, int id) {
        return GetDlgItemAs<T>(Page(slot).Root(), id);
    }
    void Select(int row) {
        GetDlgItemAs<QListWidget>(&window, IDC_FUNCTION_LIST)->setCurrentRow(row);
    }

    CBrimwellDlg logic;
    QtTopDialog window{*FindDialogTemplate(IDD_BRIMWELL_DIALOG)};
};

constexpr int kAboutRow = 1;
constexpr int kTesterTypeRow = 6;
constexpr int kFirmwareHelpRow = 3;
constexpr int kPassLogoRow = 8;

TEST_F(QtWindow, PagesStandAt210AndTheWindowFitsTheWidestAtTemplateHeight) {
    EXPECT_EQ(window.size(), QSize(848, 577));
    for (int slot = 0; slot < 11; ++slot) {
        EXPECT_EQ(Page(slot).Root()->pos(), QPoint(kPageLeft, 0)) << slot;
        EXPECT_EQ(Page(slot).Root()->parentWidget(), &window);
        EXPECT_TRUE(Page(slot).Root()->autoFillBackground()); // covers what lies under it
        EXPECT_EQ(Page(slot).Root()->isVisible(), slot == 0);
    }
    Select(kPassLogoRow);
    EXPECT_TRUE(Page(kPassLogoRow).Root()->isVisible());
    EXPECT_FALSE(Page(0).Root()->isVisible());
}

TEST_F(QtWindow, TheWelcomePictureShowsWholeAtItsOwnSize) {
    const auto* picture = Get<QLabel>(0, IDC_WELCOME_PICTURE);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->pixmap().deviceIndependentSize(), QSizeF(611, 543));
    // (4, 10) dialog units, 407 x 334 units: the picture's own size in Windows' base units.
    EXPECT_EQ(picture->geometry(), QRect(6, 16, 611, 543));
    EXPECT_TRUE(Page(0).Root()->rect().contains(picture->geometry()));
    EXPECT_LE(Page(0).Root()->geometry().bottom(), window.rect().bottom());
}

// Above a ratio of 1 the pictures are the ones drawn at twice the size (also run with
// QT_SCALE_FACTOR=2), so they stay sharp; at 1 they are the pictures of their own size.
TEST_F(QtWindow, ThePicturesAreDrawnForTheScreensPixelRatio) {
    const qreal ratio = window.devicePixelRatioF();
    const qreal expected = ratio > 1 ? 2 : 1;
    for (auto [row, id, size] : {std::tuple{0, IDC_WELCOME_PICTURE, QSize(611, 543)},
                                 {kAboutRow, IDC_BANNER_PICTURE, QSize(580, 200)}}) {
        const QPixmap pixmap = Get<QLabel>(row, id)->pixmap();
        EXPECT_EQ(pixmap.devicePixelRatio(), expected) << row;
        EXPECT_EQ(pixmap.size(), size * expected) << row;
        EXPECT_EQ(Get<QLabel>(row, id)->size(), size) << row;
    }
    for (const int picture : {IDB_WELCOME, IDB_BANNER}) {
        const QPixmap single = LoadPicture(picture, 1);
        const QPixmap dense = LoadPicture(picture, 2);
        EXPECT_EQ(single.devicePixelRatio(), 1);
        EXPECT_EQ(dense.devicePixelRatio(), 2);
        EXPECT_EQ(dense.size(), single.size() * 2) << picture;
    }
}

// Each picture, at each ratio a screen may have, decodes from its PNG resource to its size in
// device pixels and an opaque pixmap, once (the same pixmap comes back); a picture the program
// does not have gives a null pixmap.
TEST(Pictures, EachPictureDecodesOnceToItsSizeAtEachRatio) {
    struct Case {
        int id;
        qreal screenRatio;
        QSize pixels; // empty: no picture
        qreal pixmapRatio;
    };
    const Case cases[] = {
        {IDB_WELCOME, 1, {611, 543}, 1},   {IDB_WELCOME, 1.25, {1222, 1086}, 2},
        {IDB_WELCOME, 2, {1222, 1086}, 2}, {IDB_BANNER, 1, {580, 200}, 1},
        {IDB_BANNER, 1.5, {1160, 400}, 2}, {IDB_BANNER, 3, {1160, 400}, 2},
        {IDB_WELCOME + 1, 1, {}, 1},       {IDB_WELCOME + 1, 2, {}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.id << " at " << c.screenRatio);
        const QPixmap picture = LoadPicture(c.id, c.screenRatio);
        if (c.pixels.isEmpty()) {
            EXPECT_TRUE(picture.isNull());
            continue;
        }
        EXPECT_EQ(picture.size(), c.pixels);
        EXPECT_EQ(picture.devicePixelRatio(), c.pixmapRatio);
        EXPECT_FALSE(picture.hasAlphaChannel());
        // Drawn on a white ground: the top-left pixel is white.
        EXPECT_EQ(picture.toImage().pixel(0, 0), qRgb(255, 255, 255));
        EXPECT_EQ(LoadPicture(c.id, c.screenRatio).cacheKey(), picture.cacheKey());
    }
}

// The window as a screen of the device pixel ratio shows it.
QImage RenderAt(QWidget& window, qreal ratio) {
    QPixmap pixmap((QSizeF(window.size()) * ratio).toSize() + QSize(1, 1));
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::red);
    window.render(&pixmap);
    return pixmap.toImage();
}

// How many of the outermost device pixels of `control` in `image` fail `isFrame`. Qt gives a
// widget the device pixels between its edges, each rounded to the nearest pixel boundary.
template <class IsFrame>
int BrokenFramePixels(const QImage& image, const QWidget& control, qreal ratio, IsFrame isFrame) {
    const QRect logical(control.mapTo(control.window(), QPoint()), control.size());
    const int left = qRound(logical.x() * ratio), top = qRound(logical.y() * ratio);
    const int right = qRound((logical.x() + logical.width()) * ratio) - 1;
    const int bottom = qRound((logical.y() + logical.height()) * ratio) - 1;
    int broken = 0;
    for (int x = left; x <= right; ++x) {
        broken += !isFrame(image.pixel(x, top)) + !isFrame(image.pixel(x, bottom));
    }
    for (int y = top; y <= bottom; ++y) {
        broken += !isFrame(image.pixel(left, y)) + !isFrame(image.pixel(right, y));
    }
    return broken;
}

// The function list's and the text view's frames and the preview's outline lie whole on their
// outermost device pixels at whole and fractional device pixel ratios.
TEST_F(QtWindow, FramesAreWholeAtEveryDevicePixelRatio) {
    const QRgb background = window.palette().color(QPalette::Window).rgb();
    const auto outline = [background](QRgb p) {
        return p != background && p != qRgb(255, 255, 255);
    };
    const auto ink = [](QRgb p) { return p == qRgb(0, 0, 0); };
    for (const qreal ratio : {1.0, 1.25, 1.5, 1.75, 2.0}) {
        Select(kFirmwareHelpRow);
        QImage image = RenderAt(window, ratio);
        const auto* list = GetDlgItemAs<QListWidget>(&window, IDC_FUNCTION_LIST);
        EXPECT_EQ(BrokenFramePixels(image, *list, ratio, outline), 0) << "list at " << ratio;
        const auto* text = Get<QtRichTextView>(kFirmwareHelpRow, IDC_TEXT_VIEW);
        EXPECT_EQ(BrokenFramePixels(image, *text, ratio, outline), 0) << "text at " << ratio;
        Select(kPassLogoRow);
        image = RenderAt(window, ratio);
        const auto* preview = Get<QtLabelPreview>(kPassLogoRow, IDC_LOGO_PREVIEW);
        EXPECT_EQ(BrokenFramePixels(image, *preview, ratio, ink), 0) << "preview at " << ratio;
    }
}

TEST_F(QtWindow, TextViewsShowTheirDocumentsWithTheBannerOverTheAboutText) {
    for (int row = kAboutRow; row <= 4; ++row) {
        auto* view = Get<QtRichTextView>(row, IDC_TEXT_VIEW);
        const QString expected =
            QString::fromStdString(rtf::Parse(TextInfoRtf(row - kAboutRow)).PlainText());
        EXPECT_EQ(view->toPlainText(), expected) << row;
    }
    Select(kAboutRow);
    const QLabel* banner = Get<QLabel>(kAboutRow, IDC_BANNER_PICTURE);
    EXPECT_TRUE(banner->isVisible());
    EXPECT_EQ(banner->size(), QSize(580, 200));
    auto* view = Get<QtRichTextView>(kAboutRow, IDC_TEXT_VIEW);
    QTextDocument* text = view->document();
    EXPECT_GT(view->y() + text->rootFrame()->frameFormat().topMargin(),
              banner->geometry().bottom());
    EXPECT_EQ(text->begin().blockFormat().alignment(), Qt::AlignHCenter);
}

TEST_F(QtWindow, TheScrollBarIsAlwaysThereAndTheScrollPositionSurvivesSwitchingRows) {
    Select(kAboutRow);
    QScrollBar* aboutBar = Get<QtRichTextView>(kAboutRow, IDC_TEXT_VIEW)->verticalScrollBar();
    EXPECT_TRUE(aboutBar->isVisible());
    EXPECT_FALSE(aboutBar->isEnabled()); // the about text fits

    Select(kFirmwareHelpRow);
    QtRichTextView* view = Get<QtRichTextView>(kFirmwareHelpRow, IDC_TEXT_VIEW);
    view->resize(view->width(), 120); // now the text no longer fits
    QScrollBar* bar = view->verticalScrollBar();
    ASSERT_TRUE(bar->isEnabled());
    bar->setValue(bar->maximum() / 2);
    const int kept = bar->value();
    ASSERT_GT(kept, 0);
    for (int row : {kAboutRow, 0, 2, kFirmwareHelpRow}) {
        Select(row);
    }
    EXPECT_TRUE(view->isVisible());
    EXPECT_EQ(bar->value(), kept);
}

TEST_F(QtWindow, TheTextViewRefusesTypingAndPastingButSelectsAndCopies) {
    Select(kFirmwareHelpRow);
    QtRichTextView* view = Get<QtRichTextView>(kFirmwareHelpRow, IDC_TEXT_VIEW);
    view->setFocus();
    const QString before = view->toPlainText();
    QGuiApplication::clipboard()->setText("pasted");
    QTest::keyClicks(view, "typed");
    for (auto key : {Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Return}) {
        QTest::keyClick(view, key);
    }
    QTest::keySequence(view, QKeySequence::Paste);
    view->paste();
    EXPECT_EQ(view->toPlainText(), before);
    QTest::keySequence(view, QKeySequence::SelectAll);
    QTest::keySequence(view, QKeySequence::Copy);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), before);
}

TEST_F(QtWindow, TabAndShiftTabLeaveTheTextViewsAndTheTextStays) {
    QApplication::setActiveWindow(&window);
    for (int row = kAboutRow; row <= 4; ++row) {
        SCOPED_TRACE(row);
        Select(row);
        QtRichTextView* view = Get<QtRichTextView>(row, IDC_TEXT_VIEW);
        const QString before = view->toPlainText();
        for (const auto modifier : {Qt::NoModifier, Qt::ShiftModifier}) {
            view->setFocus();
            QTest::keyClick(view, Qt::Key_Tab, modifier);
            EXPECT_NE(QApplication::focusWidget(), view) << modifier;
        }
        EXPECT_EQ(view->toPlainText(), before);
    }
}

TEST_F(QtWindow, TheLogoPreviewDrawsWhatTheCompanionDrawsAndTabRunsToTheButtons) {
    fileSource.Add("/logos/wide.bmp", Loadable(MonoDesc({"#..", "..."})));
    Select(kPassLogoRow);
    auto* edit = Get<QtEditBrowse>(kPassLogoRow, IDC_LOGO_FILE);
    QTest::keyClicks(edit->Edit(), "/logos/wide.bmp");
    Get<QPushButton>(kPassLogoRow, IDC_LOGO_ROTATE)->click();
    Get<QPushButton>(kPassLogoRow, IDC_LOGO_INVERT)->click();
    const auto* page = dynamic_cast<CCfgLogoDlg*>(logic.MakePage(kPassLogoRow));
    ASSERT_TRUE(page->Logo().IsLoaded());
    auto* preview = Get<QtLabelPreview>(kPassLogoRow, IDC_LOGO_PREVIEW);
    EXPECT_EQ(preview->size(), QSize(610, 380));
    EXPECT_EQ(preview->grab().toImage().convertToFormat(QImage::Format_RGB32),
              RenderLabelPreview(page->Logo()));

    // Tab runs from the file name to its browse button, then to Rotate (Send is disabled
    // without a printer); Space on the browse button opens the file dialog.
    QApplication::setActiveWindow(&window);
    edit->Edit()->setFocus();
    QTest::keyClick(edit->Edit(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), edit->BrowseButton());
    QTest::keyClick(edit->BrowseButton(), Qt::Key_Space);
    EXPECT_EQ(files.asked.size(), 1u);
    QTest::keyClick(edit->BrowseButton(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), Get<QPushButton>(kPassLogoRow, IDC_LOGO_ROTATE));
}

// The window as a screen reader walks it (the tree AT-SPI exports): every control that takes
// the focus, on every page, has a name with letters in it that is not the control's value
// (a combo box is not "No printer found", a browse button not "...").
void CheckNames(QAccessibleInterface* node, int& focusable) {
    if (!node || node->state().invisible) {
        return;
    }
    const QObject* object = node->object();
    if (node->state().focusable && object && object->isWidgetType()) {
        ++focusable;
        const QString name = node->text(QAccessible::Name);
        SCOPED_TRACE(object->objectName().toStdString() + " " + name.toStdString());
        EXPECT_TRUE(name.contains(QRegularExpression(QStringLiteral("[A-Za-z]{3}"))));
        if (node->role() != QAccessible::List) { // a list's value is its name
            EXPECT_NE(name, node->text(QAccessible::Value));
        }
    }
    for (int i = 0; i < node->childCount(); ++i) {
        CheckNames(node->child(i), focusable);
    }
}

TEST_F(QtWindow, EveryControlTabReachesOnEveryPageIsNamedForWhatItIsFor) {
    for (int row = 0; row < 11; ++row) {
        SCOPED_TRACE(row);
        Select(row);
        int focusable = 0;
        CheckNames(QAccessible::queryAccessibleInterface(&window), focusable);
        EXPECT_GE(focusable, 2); // the function and printer lists at least
    }
    auto* edit = Get<QtEditBrowse>(kPassLogoRow, IDC_LOGO_FILE);
    EXPECT_EQ(edit->Edit()->accessibleName(), "Pass logo graphics file");
    EXPECT_EQ(edit->BrowseButton()->accessibleName(), "Browse for the pass logo file");
    EXPECT_EQ(Get<QLabel>(kPassLogoRow, IDC_LOGO_FILE_CAPTION)->buddy(), edit);
    EXPECT_EQ(Get<QtRichTextView>(kAboutRow, IDC_TEXT_VIEW)->accessibleName(), "About Brimwell");
}

// A page made when its row is first selected reads to a screen reader as a page made earlier
// does: a visible child of the window, its controls in the window's tab chain.
TEST_F(QtWindow, APageMadeOnItsFirstSelectionReadsAsAMadePageDoes) {
    QAccessibleInterface* top = QAccessible::queryAccessibleInterface(&window);
    ASSERT_NE(top, nullptr);
    for (const int row : {kTesterTypeRow, 0, kTesterTypeRow}) {
        SCOPED_TRACE(row);
        Select(row);
        QAccessibleInterface* page = QAccessible::queryAccessibleInterface(Page(row).Root());
        ASSERT_NE(page, nullptr);
        EXPECT_FALSE(page->state().invisible);
        EXPECT_EQ(page->parent(), top);
        EXPECT_GE(top->indexOfChild(page), 0);
    }
    // Tab from the printer list runs into the page made last.
    auto* combo = GetDlgItemAs<QComboBox>(&window, IDC_PRINTER_COMBO);
    auto* list = Get<QComboBox>(kTesterTypeRow, IDC_TESTER_LIST);
    QWidget* next = combo;
    for (int hops = 0; hops < 20 && next != list; ++hops) {
        next = next->nextInFocusChain();
        while (next != combo && !(next->focusPolicy() & Qt::TabFocus && next->isVisible())) {
            next = next->nextInFocusChain();
        }
    }
    EXPECT_EQ(next, list);
}

// A closed drop-down list tells a screen reader its chosen entry as the selected item of its
// list, whether the user or the program chose it.
TEST_F(QtWindow, AClosedDropDownListMarksItsChosenEntrySelected) {
    constexpr int kTesterRow = 6;
    Select(kTesterRow);
    auto* combo = Get<QComboBox>(kTesterRow, IDC_TESTER_LIST);
    ASSERT_GE(combo->count(), 3);
    const auto selectedItems = [&] {
        std::vector<std::string> names;
        QAccessibleInterface* list = QAccessible::queryAccessibleInterface(combo)->child(0);
        for (int i = 0; list && i < list->childCount(); ++i) {
            if (list->child(i)->state().selected) {
                names.push_back(list->child(i)->text(QAccessible::Name).toStdString());
            }
        }
        return names;
    };
    const auto entry = [&](int i) {
        return std::vector<std::string>{combo->itemText(i).toStdString()};
    };
    EXPECT_EQ(selectedItems(), entry(combo->currentIndex()));
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down); // as the user chooses
    EXPECT_EQ(selectedItems(), entry(1));
    Page(kTesterRow).SetCurSel(IDC_TESTER_LIST, 2); // as the page chooses
    EXPECT_EQ(selectedItems(), entry(2));
}

TEST_F(QtWindow, ThePreviewIsAPictureDescribedByWhatItShows) {
    fileSource.Add("/logos/wide.bmp", Loadable(MonoDesc({"#..", "..."})));
    Select(kPassLogoRow);
    QAccessibleInterface* preview =
        QAccessible::queryAccessibleInterface(Get<QtLabelPreview>(kPassLogoRow, IDC_LOGO_PREVIEW));
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->role(), QAccessible::Graphic);
    EXPECT_EQ(preview->text(QAccessible::Name), "Pass label preview");
    const auto description = [&] { return preview->text(QAccessible::Description); };
    EXPECT_EQ(description(), "Pass label preview: Please select a logo graphics file.");
    QTest::keyClicks(Get<QtEditBrowse>(kPassLogoRow, IDC_LOGO_FILE)->Edit(), "/logos/wide.bmp");
    EXPECT_EQ(description(), "Pass label preview: logo 3 \u00d7 2 dots");
    Get<QPushButton>(kPassLogoRow, IDC_LOGO_ROTATE)->click();
    Get<QPushButton>(kPassLogoRow, IDC_LOGO_INVERT)->click();
    EXPECT_EQ(description(),
              "Pass label preview: logo 2 \u00d7 3 dots, rotated 90 degrees, inverted");
}

TEST_F(QtWindow, AddressesInTheAboutTextOpenInTheMailProgramAndTheBrowser) {
    Select(kAboutRow);
    auto* view = Get<QtRichTextView>(kAboutRow, IDC_TEXT_VIEW);
    std::vector<QUrl> opened;
    view->m_openUrl = [&](const QUrl& url) { opened.push_back(url); };
    for (const char* shown : {"customercare@brimwell.example", "www.brimwell.example"}) {
        const QTextCursor found = view->document()->find(QString::fromLatin1(shown));
        ASSERT_FALSE(found.isNull()) << shown;
        QTextCursor middle(view->document());
        middle.setPosition((found.selectionStart() + found.selectionEnd()) / 2);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier,
                          view->cursorRect(middle).center());
    }
    EXPECT_EQ(opened, (std::vector<QUrl>{QUrl("mailto:customercare@brimwell.example"),
                                         QUrl("https://www.brimwell.example")}));
    // Plain text is no link.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(opened.size(), 2u);
}

// Under a dark palette the label stays white paper with black ink, and the documents keep
// their white page, so every text stays readable.
TEST_F(QtWindow, ThePreviewAndTheTextViewsKeepTheirPaperInADarkPalette) {
    QPalette dark;
    for (auto [role, colour] : {std::pair{QPalette::Window, QColor(0x30, 0x30, 0x30)},
                                {QPalette::WindowText, Qt::white},
                                {QPalette::Base, QColor(0x20, 0x20, 0x20)},
                                {QPalette::Text, Qt::white},
                                {QPalette::Button, QColor(0x40, 0x40, 0x40)},
                                {QPalette::ButtonText, Qt::white}}) {
        dark.setColor(role, colour);
    }
    window.setPalette(dark);
    Select(kPassLogoRow);
    auto* preview = Get<QtLabelPreview>(kPassLogoRow, IDC_LOGO_PREVIEW);
    CLogoFmtHandler none(fileSource);
    EXPECT_EQ(preview->grab().toImage().convertToFormat(QImage::Format_RGB32),
              RenderLabelPreview(none));
    for (int row = kAboutRow; row <= 4; ++row) {
        const QPalette used = Get<QtRichTextView>(row, IDC_TEXT_VIEW)->palette();
        EXPECT_EQ(used.color(QPalette::Base), QColor(Qt::white)) << row;
        EXPECT_EQ(used.color(QPalette::Text), QColor(Qt::black)) << row;
    }
}

// --- the job runner, progress bars, the focus, the session guard ----------------------------

constexpr int kPatienceMs = 10000; // bounds the waits for what must come: only a fault ends one

bool OnWindowThread() {
    return QThread::currentThread() == QCoreApplication::instance()->thread();
}

std::thread NoThread(std::function<void()> /*body*/) {
    throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
}

// A job in the real window: the window answers and stays enabled while the job runs, the
// send button rests, and afterwards it is enabled again and has the keyboard focus back.
TEST_F(QtWindow, AJobRunsOnWhileTheWindowAnswersAndFocusComesBackToSend) {
    constexpr int kDensityRow = 7;
    auto& device = AddPrinter("/dev/usb/lp0");
    logic.RefreshPrinterList();
    SystemTicks systemTicks;
    QtJobRunner runner;
    ScopedServices useTicks(&Services::ticks, &systemTicks);
    ScopedServices useRunner(&Services::jobRunner, &runner);
    std::atomic<bool> release{false};
    device.duringWrite = [&release] {
        while (!release) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    };
    Select(kDensityRow);
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    auto* send = Get<QPushButton>(kDensityRow, IDC_SEND_DENSITY);
    send->setFocus();
    send->click(); // the question is answered OK
    ASSERT_TRUE(runner.Running());
    EXPECT_TRUE(window.isEnabled());
    EXPECT_FALSE(send->isEnabled());
    bool timerFired = false;
    QTimer::singleShot(20, [&] { timerFired = true; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return timerFired; }, 10000)); // the loop goes on
    release = true;
    EXPECT_TRUE(QTest::qWaitFor([&] { return !runner.Running(); }, 10000));
    ASSERT_EQ(device.writes.size(), 1u);
    EXPECT_TRUE(send->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), send);
    EXPECT_EQ(box.shown.size(), 1u); // the question; a sent job says nothing more
}

TEST(QtJobRunner, StartReturnsWhileTheWorkRunsAndTicksAndOneDoneComeOnTheWindowsThread) {
    QWidget window;
    window.show();
    QtJobRunner runner;
    std::promise<void> release; // the work waits for it
    std::atomic<bool> workEnded{false};
    std::thread::id workThread;
    int ticks = 0, ticksAtDone = -1, dones = 0;
    bool onWindowThreadAndEnabled = true, doneAfterWork = false;
    runner.Start(
        [&, held = release.get_future().share()] {
            workThread = std::this_thread::get_id();
            held.wait();
            workEnded = true;
        },
        [&] {
            ++ticks;
            onWindowThreadAndEnabled &= OnWindowThread() && window.isEnabled();
        },
        [&] {
            ++dones;
            onWindowThreadAndEnabled &= OnWindowThread() && window.isEnabled();
            doneAfterWork = workEnded;
            ticksAtDone = ticks;
        });
    // The work is held, and the window's event loop turns: its timers fire, the ticks come.
    bool timerFired = false;
    QTimer::singleShot(0, [&] { timerFired = true; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return timerFired && ticks >= 3; }, kPatienceMs));
    EXPECT_EQ(dones, 0);
    release.set_value();
    EXPECT_TRUE(QTest::qWaitFor([&] { return dones > 0; }, kPatienceMs));
    QTest::qWait(3 * JOB_TICK_MS); // room for a second `done` or a late tick to show up
    EXPECT_EQ(dones, 1);
    EXPECT_EQ(ticks, ticksAtDone);
    EXPECT_TRUE(doneAfterWork);
    EXPECT_TRUE(onWindowThreadAndEnabled);
    EXPECT_NE(workThread, std::this_thread::get_id());
}

TEST(QtJobRunner, DoneMayStartTheNextJobAndWithoutAThreadAllRunsBeforeStartReturns) {
    for (const bool threads : {true, false}) {
        SCOPED_TRACE(threads);
        auto runner =
            threads ? std::make_unique<QtJobRunner>() : std::make_unique<QtJobRunner>(NoThread);
        std::atomic<bool> workHere{false};
        std::vector<std::string> dones;
        std::function<void(int)> start = [&](int job) {
            runner->Start([&] { workHere = OnWindowThread(); }, {},
                          [&, job] {
                              dones.push_back(workHere ? "work here" : "work elsewhere");
                              if (job == 1) {
                                  start(2);
                              }
                          });
        };
        start(1);
        EXPECT_EQ(dones.size(), threads ? 0u : 2u);
        EXPECT_TRUE(QTest::qWaitFor([&] { return dones.size() >= 2; }, kPatienceMs));
        const std::string where = threads ? "work elsewhere" : "work here";
        EXPECT_EQ(dones, (std::vector<std::string>{where, where}));
    }
}

TEST(QtJobRunnerDeathTest, AnExceptionOutOfTheWorkStopsTheProgramWithItsMessage) {
    GTEST_FLAG_SET(death_test_style, "threadsafe"); // the child starts an application anew
    for (const bool threads : {true, false}) {
        EXPECT_DEATH(
            {
                auto runner = threads ? std::make_unique<QtJobRunner>()
                                      : std::make_unique<QtJobRunner>(NoThread);
                bool done = false;
                runner->Start([] { throw std::runtime_error("the cable is out"); }, {},
                              [&] { done = true; });
                (void)QTest::qWaitFor([&] { return done; }, kPatienceMs);
            },
            "exception: the cable is out");
    }
}

TEST(QtHost, AProgressBarReadsAsOneToAScreenReader) {
    Bound window(IDD_BRIMWELL_DIALOG);
    window.host.SetProgress(IDC_JOB_PROGRESS, 999);
    window.host.SetItemAccessibleDescription(IDC_JOB_PROGRESS, "Sending the pass logo");
    QAccessibleInterface* node =
        QAccessible::queryAccessibleInterface(window.Get<QProgressBar>(IDC_JOB_PROGRESS));
    ASSERT_TRUE(node && node->valueInterface());
    EXPECT_EQ(node->role(), QAccessible::ProgressBar);
    EXPECT_EQ(node->text(QAccessible::Name), "Job progress");
    EXPECT_EQ(node->text(QAccessible::Description), "Sending the pass logo");
    EXPECT_EQ(node->valueInterface()->currentValue().toInt(), 999);
}

// A stand-in for logind: each Inhibit is answered with the write end of a new pipe; its read
// end reads the end of the file once every copy of that lock is closed.
struct FakeLogind final : QDBusVirtualObject {
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& call, const QDBusConnection& bus) override {
        int ends[2];
        if (call.member() != QLatin1String("Inhibit") || ::pipe2(ends, O_NONBLOCK) != 0) {
            return false;
        }
        calls.push_back(call.arguments());
        locks.push_back(ends[0]);
        bus.send(call.createReply(QVariant::fromValue(QDBusUnixFileDescriptor(ends[1]))));
        ::close(ends[1]);
        return true;
    }
    bool Closed(std::size_t lock) const {
        char byte;
        return lock < locks.size() && ::read(locks[lock], &byte, 1) == 0;
    }
    std::vector<QVariantList> calls;
    std::vector<int> locks; // read ends, left to the end of the test program
};

TEST(QtSessionGuard, HoldKeepsLogindsLockTillReleaseAndWithoutABusDoesNothing) {
    QtSessionGuard nowhere(QDBusConnection::connectToBus(QStringLiteral("unix:path=/no/bus"),
                                                         QStringLiteral("nowhere")));
    nowhere.Hold("Sending");
    nowhere.Release();
    EXPECT_FALSE(nowhere.Holding());

    QProcess daemon; // a bus of the test's own
    daemon.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address"});
    if (!daemon.waitForStarted(kPatienceMs) || !daemon.waitForReadyRead(kPatienceMs)) {
        GTEST_SKIP() << "no dbus-daemon (Debian's dbus)";
    }
    const QString address = QString::fromUtf8(daemon.readLine()).trimmed();
    FakeLogind logind;
    QDBusConnection logindBus = QDBusConnection::connectToBus(address, QStringLiteral("logind"));
    ASSERT_TRUE(
        logindBus.registerVirtualObject(QStringLiteral("/org/freedesktop/login1"), &logind));
    ASSERT_TRUE(logindBus.registerService(QStringLiteral("org.freedesktop.login1")));
    QtSessionGuard guard(QDBusConnection::connectToBus(address, QStringLiteral("guard")));
    guard.Hold("first");
    guard.Release(); // before logind's answer, which comes only when the event loop turns
    guard.Hold("Sending the pass logo");
    EXPECT_TRUE(QTest::qWaitFor([&] { return guard.Holding() && logind.Closed(0); }, kPatienceMs));
    ASSERT_EQ(logind.calls.size(), 2u);
    EXPECT_EQ(logind.calls[1],
              (QVariantList{"shutdown:sleep", "Brimwell", "Sending the pass logo", "block"}));
    EXPECT_FALSE(logind.Closed(1));
    guard.Release();
    EXPECT_TRUE(QTest::qWaitFor([&] { return logind.Closed(1); }, kPatienceMs));
    daemon.terminate();
    daemon.waitForFinished(kPatienceMs);
}

} // namespace
} // namespace brimwell::test
