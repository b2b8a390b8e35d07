#pragma once
#include <QTextEdit>
#include <cstddef>
#include <cstdint>

namespace brimwell {

// The read callback of a stream-in: copies at most `cb` bytes of the source named by
// `dwCookie` into `pbBuff` and stores how many it copied in `*pcb` (0 ends the stream). A
// result other than 0 is an error that also ends the stream.
using EditStreamCallback = std::uint32_t (*)(std::uintptr_t dwCookie, std::uint8_t* pbBuff,
                                             std::int32_t cb, std::int32_t* pcb);

struct EditStream {
    std::uintptr_t dwCookie = 0;
    std::uint32_t dwError = 0; // the callback's error result, 0 when the stream ended normally
    EditStreamCallback pfnCallback = nullptr;
};

// Stream-in formats.
inline constexpr int SF_TEXT = 0x0001; // 8-bit text in the Windows-1252 code page
inline constexpr int SF_RTF = 0x0002;

// The rich-text view: a multi-line text view that takes its document from a read callback,
// as 8-bit text or RTF. Read-only, it lets the user scroll, select and copy, but neither
// typing nor pasting nor dropping changes the text. Lines wrap at the view's width.
class CRichEditCtrl : public QTextEdit {
    Q_OBJECT
public:
    explicit CRichEditCtrl(QWidget* parent = nullptr);

    void SetReadOnly(bool bReadOnly);
    // The vertical scroll bar is always there, and disabled while the text fits.
    void SetDisableNoScroll(bool bDisableNoScroll);

    // Replaces the content with the document the callback hands over. The view asks for
    // pieces of kStreamPiece bytes until the callback hands over 0 bytes or fails, or until
    // kMaxStreamBytes have arrived. Returns the number of bytes read.
    std::int32_t StreamIn(int nFormat, EditStream& es);

    static constexpr std::int32_t kStreamPiece = 4096;
    static constexpr std::size_t kMaxStreamBytes = 4 * 1024 * 1024;

protected:
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    void UpdateScrollBarEnabled();

    bool m_bDisableNoScroll = false;
};

} // namespace brimwell
