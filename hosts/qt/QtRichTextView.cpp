#include "hosts/qt/QtRichTextView.h"

#include "hosts/qt/RtfTextDocument.h"
#include "text/RtfReader.h"
#include "text/TextLinks.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <string>
#include <vector>

namespace brimwell {

QtRichTextView::QtRichTextView(QWidget* parent)
    : QTextEdit(parent), m_openUrl([](const QUrl& url) { QDesktopServices::openUrl(url); }) {
    // The documents are written for a white page: keep it white, with black as the text
    // colour a document that sets none takes, in a light or a dark palette alike.
    QPalette page = palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        page.setColor(group, QPalette::Base, Qt::white);
        page.setColor(group, QPalette::Text, Qt::black);
    }
    setPalette(page);
    viewport()->setMouseTracking(true);
    setAcceptRichText(false);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setUndoRedoEnabled(false);
    connect(verticalScrollBar(), &QScrollBar::rangeChanged, this,
            [this] { UpdateScrollBarEnabled(); });
}

void QtRichTextView::SetReadOnly(bool bReadOnly) {
    setReadOnly(bReadOnly);
    if (bReadOnly) {
        // Selecting and copying stay possible with the mouse and the keyboard.
        setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    }
    // Tab and Shift+Tab move on to the next control: nothing can be typed into the view.
    setTabChangesFocus(bReadOnly);
}

void QtRichTextView::SetDisableNoScroll(bool bDisableNoScroll) {
    m_bDisableNoScroll = bDisableNoScroll;
    setVerticalScrollBarPolicy(bDisableNoScroll ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded);
    UpdateScrollBarEnabled();
}

void QtRichTextView::UpdateScrollBarEnabled() {
    QScrollBar* bar = verticalScrollBar();
    bar->setEnabled(!m_bDisableNoScroll || bar->maximum() > bar->minimum());
}

std::int32_t QtRichTextView::StreamIn(int nFormat, EditStream& es) {
    es.dwError = 0;
    if (!es.pfnCallback || (nFormat != STREAM_FORMAT_RTF && nFormat != STREAM_FORMAT_TEXT)) {
        return 0;
    }
    const std::string data = ReadEditStream(es);
    if (nFormat == STREAM_FORMAT_RTF) {
        FillTextDocument(rtf::Parse(data), document());
        MarkAddresses();
    } else {
        QString text;
        text.reserve(static_cast<qsizetype>(data.size()));
        for (const char c : data) {
            text += QChar(
                static_cast<char16_t>(rtf::Windows1252ToUnicode(static_cast<std::uint8_t>(c))));
        }
        setPlainText(text);
    }
    UpdateScrollBarEnabled();
    return static_cast<std::int32_t>(data.size());
}

void QtRichTextView::MarkAddresses() {
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        const QString text = block.text();
        const std::u16string_view units(reinterpret_cast<const char16_t*>(text.utf16()),
                                        static_cast<std::size_t>(text.size()));
        for (const auto& [start, end] : FindAddresses(units)) {
            QTextCursor cursor(document());
            cursor.setPosition(block.position() + static_cast<int>(start));
            cursor.setPosition(block.position() + static_cast<int>(end), QTextCursor::KeepAnchor);
            QTextCharFormat link;
            link.setAnchor(true);
            link.setAnchorHref(
                QString::fromStdU16String(AddressTarget(units.substr(start, end - start))));
            cursor.mergeCharFormat(link);
        }
    }
}

void QtRichTextView::mouseMoveEvent(QMouseEvent* event) {
    QTextEdit::mouseMoveEvent(event);
    viewport()->setCursor(anchorAt(event->pos()).isEmpty() ? Qt::IBeamCursor
                                                           : Qt::PointingHandCursor);
}

void QtRichTextView::mouseReleaseEvent(QMouseEvent* event) {
    QTextEdit::mouseReleaseEvent(event);
    const QString href = anchorAt(event->pos());
    // A click, not the end of a selection drag.
    if (event->button() == Qt::LeftButton && !href.isEmpty() && !textCursor().hasSelection() &&
        m_openUrl) {
        m_openUrl(QUrl(href));
    }
}

bool QtRichTextView::canInsertFromMimeData(const QMimeData* source) const {
    return !isReadOnly() && QTextEdit::canInsertFromMimeData(source);
}

void QtRichTextView::insertFromMimeData(const QMimeData* source) {
    if (!isReadOnly()) {
        QTextEdit::insertFromMimeData(source);
    }
}

} // namespace brimwell
