#pragma once
#include "text/RtfReader.h"

class QTextDocument;

namespace brimwell {

// Replaces the content of `document` with the paragraphs of an RTF document: alignment,
// spacing and indents become block formats (twips at 96 dots per inch), fonts, sizes,
// weights, underlines and colours become character formats. The automatic colour and
// colour indexes outside the table leave the viewer's text colour.
void FillTextDocument(const rtf::Document& rtf, QTextDocument* document);

// Twips (1/1440 inch) in pixels at 96 dots per inch.
inline double TwipsToPixels(int twips) {
    return twips / 15.0;
}

} // namespace brimwell
