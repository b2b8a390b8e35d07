// Every text of the window fits its control in every language, on the Qt host: the real window
// and every page laid out offscreen, each text measured with its widget's font. Run once as
// it is (96 DPI) and once with QT_SCALE_FACTOR=1.5 (144 DPI; tests/platform/CMakeLists.txt).
#include "hosts/qt/DialogBuilder.h"
#include "hosts/qt/QtDialog.h"
#include "support/FakePlatform.h"
#include "support/FitCheck.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QStyleOption>

#include <gtest/gtest.h>

#include <climits>
#include <memory>

namespace brimwell::test {
namespace {

// The static without an id whose place is the template's.
QLabel* StaticAt(const QWidget* root, const ControlTemplate& c) {
    const DlgRect placed = DialogUnitsToPixels(kTemplateBaseUnits, c.x, c.y, c.cx, c.cy);
    const QRect rect(placed.x, placed.y, placed.cx, placed.cy);
    for (QLabel* label : root->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (DlgItemId(label) == IDC_STATIC && label->geometry() == rect) {
            return label;
        }
    }
    return nullptr;
}

class QtFitHost : public FitHost {
public:
    IDialog* Open(CBrimwellDlg& logic) override {
        m_window = std::make_unique<QtTopDialog>(*FindDialogTemplate(IDD_BRIMWELL_DIALOG));
        m_window->Dialog().Attach(logic);
        m_window->show();
        return &m_window->Dialog();
    }
    void Close() override { m_window.reset(); }
    int Dpi() const override {
        return qRound(m_window->logicalDpiX() * m_window->devicePixelRatioF());
    }
    void Settle() override { QApplication::processEvents(); }

    std::optional<Measured> Measure(IDialog& dialog, const ControlTemplate& c, FitKind kind,
                                    int entry) override {
        const QWidget* root = static_cast<QtDialog&>(dialog).Root();
        QWidget* widget = c.id == IDC_STATIC ? StaticAt(root, c) : GetDlgItem(root, c.id);
        if (!widget) {
            return std::nullopt;
        }
        const QFontMetrics metrics = widget->fontMetrics();
        QStyle* style = widget->style();
        switch (kind) {
        case FitKind::Line:
        case FitKind::Lines: {
            const auto* label = qobject_cast<QLabel*>(widget);
            if (!label) {
                return std::nullopt;
            }
            const QRect box = label->contentsRect().adjusted(label->margin(), label->margin(),
                                                             -label->margin(), -label->margin());
            if (kind == FitKind::Line) {
                return Measured{{metrics.horizontalAdvance(label->text()), box.width()}, {}};
            }
            const QRect wrapped =
                metrics.boundingRect(QRect(0, 0, box.width(), INT_MAX / 2),
                                     Qt::TextWordWrap | label->alignment(), label->text());
            return Measured{{wrapped.width(), box.width()}, Room{wrapped.height(), box.height()}};
        }
        case FitKind::Button: {
            // The size hint of the text (QCommonStyle's), without the Fusion style's floor of
            // 80 pixels for any button with a text.
            const auto* button = qobject_cast<QPushButton*>(widget);
            if (!button) {
                return std::nullopt;
            }
            QStyleOptionButton option;
            option.initFrom(button);
            int margins = style->pixelMetric(QStyle::PM_ButtonMargin, &option, button) +
                          2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, button);
            if (button->autoDefault() || button->isDefault()) {
                margins +=
                    2 * style->pixelMetric(QStyle::PM_ButtonDefaultIndicator, &option, button);
            }
            const int text = metrics.size(Qt::TextShowMnemonic, button->text()).width();
            return Measured{{text + margins, button->width()}, {}};
        }
        case FitKind::ListEntry: {
            // An entry's text stands inside the focus frame's margin and a pixel more, on each
            // side (QCommonStyle's size of an item view's entry).
            const auto* list = qobject_cast<QListWidget*>(widget);
            if (!list || !list->item(entry)) {
                return std::nullopt;
            }
            const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
            return Measured{{metrics.horizontalAdvance(list->item(entry)->text()) + 2 * margin,
                             list->viewport()->width()},
                            {}};
        }
        case FitKind::ComboEntry: {
            // The closed box draws the chosen entry in its edit field, a pixel in on each
            // side.
            auto* combo = qobject_cast<QComboBox*>(widget);
            if (!combo || entry >= combo->count()) {
                return std::nullopt;
            }
            QStyleOptionComboBox option;
            option.initFrom(combo);
            option.editable = combo->isEditable();
            option.frame = combo->hasFrame();
            option.subControls = QStyle::SC_All;
            const QRect field = style->subControlRect(QStyle::CC_ComboBox, &option,
                                                      QStyle::SC_ComboBoxEditField, combo);
            return Measured{{metrics.horizontalAdvance(combo->itemText(entry)) + 2, field.width()},
                            {}};
        }
        }
        return std::nullopt;
    }

private:
    std::unique_ptr<QtTopDialog> m_window;
};

class QtFit : public ::testing::TestWithParam<std::string> {};

TEST_P(QtFit, EveryTextFitsItsControl) {
    QtFitHost host;
    ExpectEveryTextFits(host, GetParam());
}

INSTANTIATE_TEST_SUITE_P(EveryLanguage, QtFit, ::testing::ValuesIn(FitLanguages()),
                         [](const auto& info) { return info.param; });

TEST(QtFitCheck, NamesEachOverflowPlantedInACatalogue) {
    QtFitHost host;
    ExpectEachPlantedOverflowReported(host);
}

// A screen reader announces a drop-down list on its own when it opens: in every language it
// has the name of its box, which its label gives.
TEST(QtFitCheck, EveryDropDownListIsNamedAsItsBoxInEveryLanguage) {
    for (const std::string& language : FitLanguages()) {
        SCOPED_TRACE(language);
        const std::optional<std::string> catalogue = BuiltCatalogue(language);
        ASSERT_TRUE(catalogue) << "no catalogue built for " << language;
        ScopedCatalogue speaking(*catalogue, language);
        FakePlatform platform;
        CBrimwellDlg logic;
        QtTopDialog window(*FindDialogTemplate(IDD_BRIMWELL_DIALOG));
        window.Dialog().Attach(logic);
        for (int slot = 0; slot < logic.PageCount(); ++slot) {
            logic.MakePage(slot);
        }
        const auto combos = window.findChildren<QComboBox*>();
        EXPECT_GE(combos.size(), 3); // the printers, and a tester list on two pages
        for (const QComboBox* combo : combos) {
            SCOPED_TRACE(DlgItemId(combo));
            ASSERT_NE(combo->view(), nullptr);
            EXPECT_FALSE(combo->accessibleName().isEmpty());
            EXPECT_EQ(combo->view()->accessibleName(), combo->accessibleName());
        }
    }
}

} // namespace
} // namespace brimwell::test
