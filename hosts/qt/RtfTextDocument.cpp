#include "hosts/qt/RtfTextDocument.h"

#include <QColor>
#include <QFont>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>

namespace brimwell {
namespace {

Qt::Alignment AlignmentOf(rtf::Align align) {
    switch (align) {
    case rtf::Align::Center:
        return Qt::AlignHCenter;
    case rtf::Align::Right:
        return Qt::AlignRight;
    case rtf::Align::Justify:
        return Qt::AlignJustify;
    case rtf::Align::Left:
        break;
    }
    return Qt::AlignLeft;
}

QTextBlockFormat BlockFormatOf(const rtf::ParaFormat& para) {
    QTextBlockFormat block;
    block.setAlignment(AlignmentOf(para.align));
    block.setTopMargin(TwipsToPixels(para.spaceBefore));
    block.setBottomMargin(TwipsToPixels(para.spaceAfter));
    block.setLeftMargin(TwipsToPixels(para.leftIndent));
    block.setTextIndent(TwipsToPixels(para.firstIndent));
    return block;
}

QTextCharFormat CharFormatOf(const rtf::Document& rtf, const rtf::CharFormat& chr) {
    QTextCharFormat format;
    std::string family = rtf.FontName(chr.fontIndex);
    if (family.empty()) {
        family = rtf.FontName(rtf.defaultFont);
    }
    if (!family.empty()) {
        format.setFontFamilies({QString::fromStdString(family)});
    }
    format.setFontPointSize(chr.halfPoints / 2.0);
    format.setFontWeight(chr.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(chr.italic);
    format.setFontUnderline(chr.underline);
    if (chr.colorIndex > 0 && static_cast<std::size_t>(chr.colorIndex) < rtf.colors.size()) {
        const rtf::Color& c = rtf.colors[static_cast<std::size_t>(chr.colorIndex)];
        if (!c.automatic) {
            format.setForeground(QColor(c.red, c.green, c.blue));
        }
    }
    return format;
}

} // namespace

void FillTextDocument(const rtf::Document& rtf, QTextDocument* document) {
    document->clear();
    // The layout ignores the top margin of a frame's first block, so the first paragraph's
    // space before goes into the top margin of the document's frame instead.
    QTextFrameFormat frame = document->rootFrame()->frameFormat();
    const int firstSpace = rtf.paragraphs.empty() ? 0 : rtf.paragraphs.front().format.spaceBefore;
    frame.setTopMargin(document->documentMargin() + TwipsToPixels(firstSpace));
    document->rootFrame()->setFrameFormat(frame);

    QTextCursor cursor(document);
    bool first = true;
    for (const rtf::Paragraph& para : rtf.paragraphs) {
        QTextBlockFormat block = BlockFormatOf(para.format);
        const QTextCharFormat mark = CharFormatOf(rtf, para.markFormat);
        if (first) {
            // The document starts with one empty block: it becomes the first paragraph.
            block.setTopMargin(0);
            cursor.setBlockFormat(block);
            cursor.setBlockCharFormat(mark);
            first = false;
        } else {
            cursor.insertBlock(block, mark);
        }
        for (const rtf::Run& run : para.runs) {
            cursor.insertText(QString::fromStdString(run.text), CharFormatOf(rtf, run.format));
        }
    }
}

} // namespace brimwell
