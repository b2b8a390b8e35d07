#include "platform/qt/RichEditCtrl.h"

#include "platform/qt/RtfTextDocument.h"
#include "platform/rtf/RtfReader.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <string>
#include <tuple>
#include <vector>

namespace brimwell {

CRichEditCtrl::CRichEditCtrl(QWidget* parent)
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

void CRichEditCtrl::SetReadOnly(bool bReadOnly) {
    setReadOnly(bReadOnly);
    if (bReadOnly) {
        // Selecting and copying stay possible with the mouse and the keyboard.
        setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    }
}

void CRichEditCtrl::SetDisableNoScroll(bool bDisableNoScroll) {
    m_bDisableNoScroll = bDisableNoScroll;
    setVerticalScrollBarPolicy(bDisableNoScroll ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded);
    UpdateScrollBarEnabled();
}

void CRichEditCtrl::UpdateScrollBarEnabled() {
    QScrollBar* bar = verticalScrollBar();
    bar->setEnabled(!m_bDisableNoScroll || bar->maximum() > bar->minimum());
}

std::int32_t CRichEditCtrl::StreamIn(int nFormat, EditStream& es) {
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

namespace {

bool IsAddressChar(QChar c) {
    return c.isLetterOrNumber() || QStringLiteral("._%+-/:~#?=&").contains(c);
}

// The addresses in one line of text: [start, end) and the link each opens. An e-mail address
// is letters, digits and ._%+- round one '@' with a dot after it; a web address starts with
// "www." or "http(s)://". Punctuation that ends a sentence is not part of either.
std::vector<std::tuple<int, int, QString>> FindAddresses(const QString& text) {
    std::vector<std::tuple<int, int, QString>> found;
    const auto trim = [&](int start, int end) {
        while (end > start && QStringLiteral(".,;:!?)").contains(text[end - 1])) {
            --end;
        }
        return end;
    };
    int i = 0;
    while (i < text.size()) {
        if (!IsAddressChar(text[i]) && text[i] != QLatin1Char('@')) {
            ++i;
            continue;
        }
        int end = i;
        while (end < text.size() && (IsAddressChar(text[end]) || text[end] == QLatin1Char('@'))) {
            ++end;
        }
        const QString word = text.mid(i, trim(i, end) - i);
        const int at = static_cast<int>(word.indexOf(QLatin1Char('@')));
        if (word.startsWith(QLatin1String("http://")) ||
            word.startsWith(QLatin1String("https://"))) {
            found.emplace_back(i, i + static_cast<int>(word.size()), word);
        } else if (word.startsWith(QLatin1String("www.")) && word.size() > 4) {
            found.emplace_back(i, i + static_cast<int>(word.size()),
                               QStringLiteral("https://") + word);
        } else if (at > 0 && word.indexOf(QLatin1Char('@'), at + 1) < 0 &&
                   word.indexOf(QLatin1Char('.'), at + 2) > at + 1 &&
                   !word.contains(QLatin1Char('/'))) {
            found.emplace_back(i, i + static_cast<int>(word.size()),
                               QStringLiteral("mailto:") + word);
        }
        i = end;
    }
    return found;
}

} // namespace

void CRichEditCtrl::MarkAddresses() {
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        for (const auto& [start, end, href] : FindAddresses(block.text())) {
            QTextCursor cursor(document());
            cursor.setPosition(block.position() + start);
            cursor.setPosition(block.position() + end, QTextCursor::KeepAnchor);
            QTextCharFormat link;
            link.setAnchor(true);
            link.setAnchorHref(href);
            cursor.mergeCharFormat(link);
        }
    }
}

void CRichEditCtrl::mouseMoveEvent(QMouseEvent* event) {
    QTextEdit::mouseMoveEvent(event);
    viewport()->setCursor(anchorAt(event->pos()).isEmpty() ? Qt::IBeamCursor
                                                           : Qt::PointingHandCursor);
}

void CRichEditCtrl::mouseReleaseEvent(QMouseEvent* event) {
    QTextEdit::mouseReleaseEvent(event);
    const QString href = anchorAt(event->pos());
    // A click, not the end of a selection drag.
    if (event->button() == Qt::LeftButton && !href.isEmpty() && !textCursor().hasSelection() &&
        m_openUrl) {
        m_openUrl(QUrl(href));
    }
}

bool CRichEditCtrl::canInsertFromMimeData(const QMimeData* source) const {
    return !isReadOnly() && QTextEdit::canInsertFromMimeData(source);
}

void CRichEditCtrl::insertFromMimeData(const QMimeData* source) {
    if (!isReadOnly()) {
        QTextEdit::insertFromMimeData(source);
    }
}

} // namespace brimwell
