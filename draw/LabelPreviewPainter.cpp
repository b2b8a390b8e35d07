#include "draw/LabelPreviewPainter.h"

#include "draw/DevicePixels.h"
#include "draw/Fonts.h"
#include "text/Translate.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>

namespace brimwell {

QFont PreviewFont(const char* face, int cellHeight) {
    QFont font;
    font.setFamilies(FamiliesForWindowsFace(QString::fromLatin1(face)));
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(QFont::Normal);
    // Windows measures text without kerning; grey-scale smoothing looks the same on screen and
    // in a picture file.
    font.setKerning(false);
    font.setStyleStrategy(QFont::NoSubpixelAntialias);
    // A positive Windows height is the cell height; Qt's pixel size is the em. Scale by the
    // face's own cell-to-em ratio (about 1.117 for Arial's metrics).
    font.setPixelSize(cellHeight);
    const QFontMetrics probe(font);
    const int cell = probe.ascent() + probe.descent();
    if (cell > 0 && cell != cellHeight) {
        const double em = static_cast<double>(cellHeight) * cellHeight / cell;
        font.setPixelSize(std::max(1, static_cast<int>(std::lround(em))));
    }
    return font;
}

const PreviewFonts& PreviewFonts::Get() {
    // The fonts once; the label texts' measures once per language (the language is chosen at
    // start; tests lay the preview out in several).
    static std::mutex lock;
    static std::map<const MoCatalog*, PreviewFonts> made;
    const std::lock_guard<std::mutex> hold(lock);
    const MoCatalog* language = CurrentCatalogue();
    auto found = made.find(language);
    if (found == made.end()) {
        PreviewFonts f;
        f.label = PreviewFont(PREVIEW_LABEL_FACE, PREVIEW_LABEL_CELL);
        f.message = PreviewFont(PREVIEW_MESSAGE_FACE, PREVIEW_MESSAGE_CELL);
        const QFontMetrics metrics(f.label);
        f.labelAscent = metrics.ascent();
        for (std::size_t i = 0; i < PREVIEW_LABEL_TEXT_COUNT; ++i) {
            f.labelTextIds[i] = ShownLabelText(i);
            f.labelTexts[i] = QString::fromUtf8(f.labelTextIds[i]);
            f.extents[i] = metrics.horizontalAdvance(f.labelTexts[i]);
        }
        found = made.emplace(language, std::move(f)).first;
    }
    return found->second;
}

QImage LogoPreviewImage(const CLogoFmtHandler& logo) {
    if (!logo.IsLoaded() || logo.GetWidth() <= 0 || logo.GetHeight() <= 0 || !logo.GetPixels()) {
        return QImage();
    }
    // The holder's rows are laid out as Qt's one-bit format: top-down, most significant bit
    // leftmost, padded to 32-bit words. Wrap them, then convert once to the screen's format.
    QImage mono(logo.GetPixels(), logo.GetWidth(), logo.GetHeight(),
                static_cast<qsizetype>(logo.GetStride()), QImage::Format_Mono);
    mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    return mono.convertToFormat(QImage::Format_RGB32);
}

namespace {

// The label texts are converted once, with the fonts; other texts as they come.
QString LabelText(const PreviewFonts& fonts, const char* text) {
    for (std::size_t i = 0; i < PREVIEW_LABEL_TEXT_COUNT; ++i) {
        if (fonts.labelTextIds[i] == text) {
            return fonts.labelTexts[i];
        }
    }
    return QString::fromUtf8(text ? text : "");
}

} // namespace

void PaintLabelPreview(QPainter& painter, const std::vector<PreviewStep>& steps,
                       const QImage& image, const QColor& ink) {
    const PreviewFonts& fonts = PreviewFonts::Get();
    painter.save();
    painter.setPen(QPen(ink, 0));
    painter.setBackground(Qt::white);
    painter.setBackgroundMode(Qt::OpaqueMode);
    for (const PreviewStep& step : steps) {
        switch (step.kind) {
        case PreviewStepKind::LabelArea:
            if (step.width > 0 && step.height > 0) {
                painter.fillRect(step.x, step.y, step.width, step.height, Qt::white);
                // A one-pixel outline on the area's outermost device pixels, whole at any
                // device pixel ratio.
                DrawDevicePixelOutline(painter, QRect(step.x, step.y, step.width, step.height),
                                       ink);
            }
            break;
        case PreviewStepKind::Image:
            if (!image.isNull()) {
                painter.drawImage(step.x, step.y, image);
            }
            break;
        case PreviewStepKind::TurnedText: {
            const QString text = LabelText(fonts, step.text);
            painter.setFont(fonts.label);
            painter.save();
            // Turned a quarter clockwise: the text runs down from (x, y), the tops of its
            // letters to the right, and its cell lies left of x.
            painter.translate(step.x, step.y);
            painter.rotate(90);
            painter.drawText(QPoint(0, fonts.labelAscent), text);
            painter.restore();
            break;
        }
        case PreviewStepKind::Message:
            if (step.width > 0 && step.height > 0 && step.text) {
                painter.setFont(fonts.message);
                painter.drawText(QRect(step.x, step.y, step.width, step.height),
                                 Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                                 QString::fromUtf8(step.text));
            }
            break;
        }
    }
    painter.restore();
}

QColor PreviewInk() {
    // The label is paper: white, with black ink on it, in a light or a dark palette alike.
    return Qt::black;
}

QImage RenderLabelPreview(const CLogoFmtHandler& logo, int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    PaintLabelPreview(painter, LabelPreviewSteps(width, height, logo, PreviewFonts::Get().extents),
                      LogoPreviewImage(logo), PreviewInk());
    return picture;
}

} // namespace brimwell
