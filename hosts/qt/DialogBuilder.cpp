#include "hosts/qt/DialogBuilder.h"

#include "draw/Fonts.h"
#include "hosts/qt/DeviceFrame.h"
#include "hosts/qt/QtAccessible.h"
#include "hosts/qt/QtEditBrowse.h"
#include "hosts/qt/QtLabelPreview.h"
#include "hosts/qt/QtRichTextView.h"
#include "resources/Pictures.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <utility>

namespace brimwell {
namespace {

constexpr const char* kCtrlIdProperty = "dlgCtrlId";

Qt::Alignment StaticAlignment(std::uint32_t style) {
    if (style & CtlStyle::AlignCenter) {
        return Qt::AlignHCenter | Qt::AlignTop;
    }
    if (style & CtlStyle::AlignRight) {
        return Qt::AlignRight | Qt::AlignTop;
    }
    return Qt::AlignLeft | Qt::AlignTop;
}

QWidget* MakeControl(QWidget* parent, const ControlTemplate& c) {
    using namespace CtlStyle;
    switch (c.cls) {
    case CtlClass::Static: {
        if (c.style & EtchedVertical) {
            auto* line = new QFrame(parent);
            line->setFrameShape(QFrame::VLine);
            line->setFrameShadow(QFrame::Sunken);
            return line;
        }
        auto* label = new QLabel(parent);
        if (c.style & Bitmap) {
            label->setPixmap(LoadPicture(c.imageId, parent->devicePixelRatioF()));
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        } else {
            SetStaticText(label, c.text);
            label->setAlignment(StaticAlignment(c.style));
            label->setWordWrap(c.cy > 12);
            label->setTextFormat(Qt::PlainText);
        }
        return label;
    }
    case CtlClass::Button: {
        auto* button = new QPushButton(QString::fromStdString(c.text), parent);
        button->setAutoDefault(false);
        button->setDefault(false);
        return button;
    }
    case CtlClass::Edit: {
        auto* edit = new QLineEdit(parent);
        edit->setText(QString::fromStdString(c.text));
        edit->setFrame((c.style & Border) != 0);
        return edit;
    }
    case CtlClass::ListBox: {
        auto* list = new QListWidget(parent);
        list->setSortingEnabled(false);
        // The selection is drawn in the highlight colour only while the list has the focus,
        // so a keyboard user sees where the focus is.
        QPalette colours = list->palette();
        colours.setColor(QPalette::Inactive, QPalette::Highlight,
                         colours.color(QPalette::Inactive, QPalette::Midlight));
        colours.setColor(QPalette::Inactive, QPalette::HighlightedText,
                         colours.color(QPalette::Inactive, QPalette::Text));
        list->setPalette(colours);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        KeepFrameOnDevicePixels(list);
        return list;
    }
    case CtlClass::ComboBox: {
        auto* combo = new QComboBox(parent);
        combo->setEditable(false);
        QObject::connect(combo, &QComboBox::currentIndexChanged, combo,
                         [combo] { SelectChosenEntryInList(*combo); });
        return combo;
    }
    case CtlClass::Trackbar: {
        auto* slider = new QSlider(Qt::Horizontal, parent);
        slider->setTickPosition(QSlider::NoTicks);
        slider->setFocusPolicy(Qt::StrongFocus);
        return slider;
    }
    case CtlClass::RichEdit: {
        auto* text = new QtRichTextView(parent);
        text->SetReadOnly((c.style & ReadOnly) != 0);
        text->SetDisableNoScroll((c.style & DisableNoScroll) != 0);
        KeepFrameOnDevicePixels(text);
        return text;
    }
    case CtlClass::EditBrowse:
        return new QtEditBrowse(parent);
    case CtlClass::LabelPreview:
        return new QtLabelPreview(parent);
    case CtlClass::Progress: {
        // No text on the bar: at 9 dialog units high a percentage would be cut off, and the
        // bar reads its value to a screen reader anyway.
        auto* bar = new QProgressBar(parent);
        bar->setRange(0, PROGRESS_MAX);
        bar->setValue(0); // not Qt's "no value yet" (-1), which reads as less than empty
        bar->setTextVisible(false);
        return bar;
    }
    }
    return nullptr;
}

} // namespace

DialogBaseUnits BaseUnitsForFont(const QFont& font) {
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return BaseUnitsFromMetrics(width, metrics.height());
}

QFont DialogFont(const DialogTemplate& tmpl) {
    // Liberation Sans has Arial's metrics, which keeps the dialog base units close to those
    // the templates were laid out with (6 x 13 pixels at 8 points).
    QFont font;
    font.setFamilies(SansSerifFamilies());
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(tmpl.pointSize > 0 ? tmpl.pointSize : 8);
    return font;
}

void SetStaticText(QLabel* label, const std::string& text) {
    label->setProperty(kStaticTextProperty, QString::fromStdString(text));
    label->setText(StaticTextFromTemplate(text));
    if (QWidget* buddy = label->buddy()) {
        // The buddy relation tells a screen reader which label a control has; the name is the
        // label's words without its colon.
        SetAccessibleNameOf(buddy, QString::fromStdString(NameFromLabel(text)));
    }
}

QWidget* AccessibleTarget(QWidget* control) {
    if (auto* browse = qobject_cast<QtEditBrowse*>(control)) {
        return browse->Edit();
    }
    return control;
}

void SetAccessibleNameOf(QWidget* control, const QString& name) {
    AccessibleTarget(control)->setAccessibleName(name);
    if (auto* combo = qobject_cast<QComboBox*>(control); combo && combo->view()) {
        combo->view()->setAccessibleName(name);
    }
}

QString StaticTextFromTemplate(const std::string& text) {
    const QString in = QString::fromStdString(text);
    QString out;
    out.reserve(in.size());
    for (int i = 0; i < in.size(); ++i) {
        if (in[i] == QLatin1Char('&')) {
            if (i + 1 < in.size() && in[i + 1] == QLatin1Char('&')) {
                out += QLatin1Char('&');
                ++i;
            }
            continue;
        }
        out += in[i];
    }
    return out;
}

void BuildDialog(QWidget* dialog, const DialogTemplate& tmpl) {
    InstallAccessibleFactory();
    const QFont font = DialogFont(tmpl);
    dialog->setFont(font);
    const DlgRect size = DialogUnitsToPixels(kTemplateBaseUnits, 0, 0, tmpl.cx, tmpl.cy);
    dialog->resize(size.cx, size.cy);
    QWidget* previous = nullptr;
    for (std::size_t index = 0; index < tmpl.controls.size(); ++index) {
        const ControlTemplate& c = tmpl.controls[index];
        QWidget* const before = std::exchange(previous, nullptr);
        QWidget* control = MakeControl(dialog, c);
        if (!control) {
            continue;
        }
        previous = control;
        if (!c.accessibleName.empty()) {
            SetAccessibleNameOf(control, QString::fromStdString(c.accessibleName));
        } else if (auto* label = qobject_cast<QLabel*>(before); label && LabelOf(tmpl, index)) {
            label->setBuddy(control);
            SetStaticText(label, label->property(kStaticTextProperty).toString().toStdString());
        }
        const DlgRect placed = DialogUnitsToPixels(kTemplateBaseUnits, c.x, c.y, c.cx, c.cy);
        QRect rect(placed.x, placed.y, placed.cx, placed.cy);
        if (c.cls == CtlClass::ComboBox) {
            // The template height is that of the dropped-down list; the closed box keeps
            // its natural height.
            rect.setHeight(control->sizeHint().height());
        }
        if (auto* label = qobject_cast<QLabel*>(control);
            label && (c.style & CtlStyle::Bitmap) && !label->pixmap().isNull()) {
            // A picture static takes the logical size of its picture, which is never scaled.
            rect.setSize(label->pixmap().deviceIndependentSize().toSize());
        }
        control->setGeometry(rect);
        control->setProperty(kCtrlIdProperty, c.id);
        if (c.id != IDC_STATIC) {
            control->setObjectName(QStringLiteral("ctl%1").arg(c.id));
        }
        if (!(c.style & CtlStyle::TabStop) && c.cls != CtlClass::Static) {
            control->setFocusPolicy(
                static_cast<Qt::FocusPolicy>(control->focusPolicy() & ~Qt::TabFocus));
        }
        if (c.style & CtlStyle::Hidden) {
            control->hide();
        }
    }
}

int DlgItemId(const QWidget* control) {
    const QVariant value = control ? control->property(kCtrlIdProperty) : QVariant();
    return value.isValid() ? value.toInt() : IDC_STATIC;
}

QWidget* GetDlgItem(const QWidget* dialog, int id) {
    if (!dialog || id == IDC_STATIC) {
        return nullptr;
    }
    const auto children = dialog->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    for (QWidget* child : children) {
        const QVariant value = child->property(kCtrlIdProperty);
        if (value.isValid() && value.toInt() == id) {
            return child;
        }
    }
    return nullptr;
}

} // namespace brimwell
