#include "hosts/qt/DialogBuilder.h"
#include "hosts/qt/QtFileDialog.h"
#include "hosts/qt/QtMessageBox.h"
#include "platform/fake/FakeServices.h"
#include "platform/linux/SettingsProfile.h"
#include "ui/Services.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace brimwell::test {

TEST(DialogBuilder, BuildsEveryControlFindableByIdAndSizesTheDialogInWindowsBaseUnits) {
    QWidget dialog;
    const DialogTemplate& tmpl = *FindDialogTemplate(IDD_BRIMWELL_DIALOG);
    BuildDialog(&dialog, tmpl);
    // The templates' units are Windows' 6 x 13, whatever this system's font measures.
    EXPECT_EQ(kTemplateBaseUnits.x, 6);
    EXPECT_EQ(kTemplateBaseUnits.y, 13);
    EXPECT_EQ(dialog.size(), QSize(848, 577));
    ASSERT_NE(GetDlgItemAs<QComboBox>(&dialog, IDC_PRINTER_COMBO), nullptr);
    QWidget* list = GetDlgItem(&dialog, IDC_FUNCTION_LIST);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->geometry(), QRect(9, 26, 189, 185)); // (6, 16, 126, 114) dialog units
    // The closed drop-down list keeps its natural height, not the dropped height.
    auto* combo = GetDlgItemAs<QComboBox>(&dialog, IDC_PRINTER_COMBO);
    EXPECT_LT(combo->height(), DialogUnitsToPixels(kTemplateBaseUnits, 0, 0, 0, 120).cy);
    EXPECT_EQ(GetDlgItem(&dialog, 4242), nullptr);
    EXPECT_EQ(GetDlgItem(&dialog, IDC_STATIC), nullptr);
    EXPECT_EQ(GetDlgItem(nullptr, IDC_FUNCTION_LIST), nullptr);
}

TEST(DialogBuilder, AMissingControlIsSimplyNotThere) {
    QWidget dialog;
    BuildDialog(&dialog, FindDialogTemplate(IDD_SET_DENSITY)->Without(IDC_DENSITY_SLIDER));
    EXPECT_EQ(GetDlgItem(&dialog, IDC_DENSITY_SLIDER), nullptr);
    EXPECT_NE(GetDlgItem(&dialog, IDC_DENSITY_VALUE), nullptr);
}

TEST(DialogBuilder, DoubledAmpersandsShowAsOne) {
    EXPECT_EQ(StaticTextFromTemplate("Date && Time"), "Date & Time");
    EXPECT_EQ(StaticTextFromTemplate("&File"), "File");
    EXPECT_EQ(StaticTextFromTemplate("a&&&b"), "a&b");
    QWidget dialog;
    BuildDialog(&dialog, *FindDialogTemplate(IDD_SET_DATE_TIME));
    auto* button = GetDlgItemAs<QPushButton>(&dialog, IDC_SEND_DATE_TIME);
    ASSERT_NE(button, nullptr);
    // Qt buttons use the same convention: "&&" is drawn as one ampersand.
    EXPECT_EQ(button->text(), "Send Current Date && Time To The Printer...");
    EXPECT_FALSE(button->autoDefault());
}

// What Windows (and the Qt host, from the same templates) names a control by: the static text
// just before it. Every control Tab reaches that shows no text of its own has such a label or
// a name of its own; every picture has a name; Tab meets the controls top to bottom, left to
// right.
TEST(DialogTemplates, EveryControlTabReachesHasItsLabelJustBeforeItInVisualOrder) {
    for (const int id :
         {IDD_BRIMWELL_DIALOG, IDD_WELCOME, IDD_CFG_LOGO, IDD_TEXT_INFO, IDD_CFG_TESTER_TYPE,
          IDD_GEN_TEST_LABEL, IDD_SET_DENSITY, IDD_SET_DATE_TIME, IDD_UPDATE_FIRMWARE}) {
        const DialogTemplate& tmpl = *FindDialogTemplate(id);
        const ControlTemplate* last = nullptr;
        for (std::size_t i = 0; i < tmpl.controls.size(); ++i) {
            const ControlTemplate& c = tmpl.controls[i];
            SCOPED_TRACE(testing::Message() << "dialog " << id << ", control " << c.id);
            if (c.style & CtlStyle::Bitmap) {
                EXPECT_FALSE(c.accessibleName.empty());
            }
            if (!TakesFocus(c)) {
                continue;
            }
            // The rich-text view is named by its page ("About Brimwell", ...).
            if (NamedByLabel(c)) {
                EXPECT_TRUE(LabelOf(tmpl, i) || !c.accessibleName.empty());
            } else {
                EXPECT_TRUE(c.cls == CtlClass::RichEdit || !c.text.empty());
            }
            if (last) {
                EXPECT_TRUE(c.y > last->y || (c.y == last->y && c.x > last->x));
            }
            last = &c;
        }
    }
    EXPECT_EQ(LabelOf(*FindDialogTemplate(IDD_SET_DENSITY), 1), nullptr); // "Light" is no label
}

TEST(FileDialogFilter, PatternsMatchAnyMixOfCases) {
    const QString logos = QtNameFilters("Logo files (*.bmp; *.pcx)|*.bmp;*.pcx|All Files|*.*||");
    EXPECT_EQ(logos, "Logo files (*.bmp; *.pcx) (*.[bB][mM][pP] *.[pP][cC][xX]);;All Files (*)");
    EXPECT_EQ(QtNameFilters("Update files (*.tpl)|*.tpl|All Files|*.*||"),
              "Update files (*.tpl) (*.[tT][pP][lL]);;All Files (*)");
    EXPECT_EQ(QtNameFilters(""), "");
    // Qt's wildcard matching (what its own dialog filters with) reads the sets.
    const QRegularExpression bmp(QRegularExpression::wildcardToRegularExpression("*.[bB][mM][pP]"));
    for (const char* name : {"pass.bmp", "PASS.BMP", "Pass.Bmp"}) {
        EXPECT_TRUE(bmp.match(name).hasMatch()) << name;
    }
    EXPECT_FALSE(bmp.match("pass.bmx").hasMatch());
}

TEST(SettingsProfile, StoresTesterTypeUnderSettingsInTheUsersConfigFile) {
    QTemporaryDir dir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
    SettingsProfile profile;
    EXPECT_EQ(profile.GetInt("Settings", "TesterType", 0), 0); // nothing stored yet
    ASSERT_TRUE(profile.WriteInt("Settings", "TesterType", 1003));
    EXPECT_EQ(profile.GetInt("Settings", "TesterType", 0), 1003);
    QFile file(dir.path() + "/QuenmarRuravavereDaz/Brimwell.conf");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(text.contains("[Settings]\nTesterType=1003")) << text.toStdString();
}

TEST(SettingsProfile, GarbageReadsAsTheDefault) {
    QTemporaryDir dir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
    for (const char* stored : {"abc", "", "12x", "1003.5"}) {
        QSettings(QSettings::NativeFormat, QSettings::UserScope, "QuenmarRuravavereDaz", "Brimwell")
            .setValue("Settings/TesterType", stored);
        EXPECT_EQ(SettingsProfile().GetInt("Settings", "TesterType", 0), 0) << stored;
    }
}

namespace {

// Answers the next application-modal message box once it is up.
void AnswerBox(std::function<void(QMessageBox*)> answer, QString* caption = nullptr,
               QMessageBox::Icon* icon = nullptr) {
    QTimer::singleShot(0, [=] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                if (caption) {
                    *caption = box->windowTitle();
                }
                if (icon) {
                    *icon = box->icon();
                }
                answer(box);
                return;
            }
        }
    });
}

} // namespace

TEST(QtMessageBox, ReturnsThePressedButtonAndClosingCountsAsCancel) {
    QtMessageBox messages;
    QString caption;
    QMessageBox::Icon icon{};
    AnswerBox([](QMessageBox* b) { b->button(QMessageBox::Ok)->click(); }, &caption, &icon);
    EXPECT_EQ(messages.Show("Click 'OK' to proceed.", MsgIcon::Warning, MsgButtons::OkCancel),
              MsgResult::Ok);
    EXPECT_EQ(caption, "Brimwell");
    EXPECT_EQ(icon, QMessageBox::Warning);

    AnswerBox([](QMessageBox* b) { b->button(QMessageBox::Cancel)->click(); });
    EXPECT_EQ(messages.Show("q", MsgIcon::Warning, MsgButtons::OkCancel), MsgResult::Cancel);

    AnswerBox([](QMessageBox* b) { b->reject(); }, nullptr, &icon);
    EXPECT_EQ(messages.Show("q", MsgIcon::Error, MsgButtons::OkCancel), MsgResult::Cancel);
    EXPECT_EQ(icon, QMessageBox::Critical);
}

} // namespace brimwell::test
