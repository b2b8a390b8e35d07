// Fuzz target of the rich-text view's RTF reader: any bytes are read as RTF, and the
// document must keep its invariants (sizes and spacing inside their limits, valid UTF-8,
// no empty runs). A broken invariant aborts, so libFuzzer keeps the input.
#include "text/RtfReader.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

using namespace brimwell::rtf;

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// Well-formed UTF-8 without surrogates.
bool IsUtf8(const std::string& s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto lead = static_cast<unsigned char>(s[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        if ((lead >= 0x80 && lead < 0xC2) || lead > 0xF4 || i + length > s.size()) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        if (lead == 0xED && static_cast<unsigned char>(s[i + 1]) >= 0xA0) {
            return false;
        }
        i += length;
    }
    return true;
}

void CheckCharFormat(const CharFormat& f) {
    Check(f.halfPoints >= 2 && f.halfPoints <= 2000);
    Check(f.colorIndex >= 0 && f.fontIndex >= 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Document doc = Parse(std::string_view(reinterpret_cast<const char*>(data), size));
    for (const Paragraph& p : doc.paragraphs) {
        Check(p.format.spaceBefore >= 0 && p.format.spaceBefore <= 31680);
        Check(p.format.spaceAfter >= 0 && p.format.spaceAfter <= 31680);
        Check(p.format.leftIndent >= -31680 && p.format.leftIndent <= 31680);
        Check(p.format.firstIndent >= -31680 && p.format.firstIndent <= 31680);
        CheckCharFormat(p.markFormat);
        for (const Run& r : p.runs) {
            Check(!r.text.empty() && IsUtf8(r.text));
            CheckCharFormat(r.format);
        }
    }
    for (const Font& f : doc.fonts) {
        Check(IsUtf8(f.name) && f.name.size() <= 256 * 4);
    }
    // Every byte of text is at most one character, and one character at most 4 bytes.
    Check(doc.PlainText().size() <= 4 * size + doc.paragraphs.size());
    return 0;
}
