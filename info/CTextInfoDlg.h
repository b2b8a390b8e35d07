#pragma once
#include "printer/CFuncDlg.h"

#include <cstdint>

namespace brimwell {

// A text page (IDD_TEXT_INFO): one of the four fixed RTF documents in the read-only rich-text
// view, with the maker's banner over the top of the about text. The document is streamed
// into the view once, when the page is created; the view keeps its scroll position while
// the page is hidden. It never talks to the printer.
class CTextInfoDlg : public CFuncDlg {
public:
    explicit CTextInfoDlg(IPageHost* pParent);

    // The read callback of the stream-in. `dwCookie` is the page; hands over the smaller of
    // `cb` and the bytes not yet handed over, from m_nRtfPos on, and advances m_nRtfPos.
    static std::uint32_t RtfStreamCallback(std::uintptr_t dwCookie, std::uint8_t* pbBuff,
                                           std::int32_t cb, std::int32_t* pcb);

    // Which document: set by the page factory right after construction (0 about,
    // 1 connecting a printer, 2 updating firmware, 3 creating logos; any other the empty one).
    std::int32_t m_nTextIndex = 0;
    // The source record of the stream-in.
    const char* m_pszRtf = nullptr;
    std::int32_t m_nRtfLength = 0;
    std::int32_t m_nRtfPos = 0;

protected:
    bool OnInitDialog() override;
};

} // namespace brimwell
