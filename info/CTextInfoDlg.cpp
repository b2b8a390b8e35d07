#include "info/CTextInfoDlg.h"

#include "info/InfoDocuments.h"
#include "resources/DialogTemplates.h"

#include <algorithm>
#include <cstring>

namespace brimwell {

CTextInfoDlg::CTextInfoDlg(IPageHost* pParent) : CFuncDlg(IDD_TEXT_INFO, pParent) {}

bool CTextInfoDlg::OnInitDialog() {
    IRichTextCtrl* view = Dialog().RichText(IDC_TEXT_VIEW);
    if (!view) {
        return true; // a damaged template: no text, and the banner stays as it is
    }
    // The view has no label: it is named by the page ("About Brimwell", "Help : ...").
    Dialog().SetItemAccessibleName(IDC_TEXT_VIEW, Title());
    const char* rtf = TextInfoRtf(m_nTextIndex);
    Dialog().ShowItem(IDC_BANNER_PICTURE, m_nTextIndex == TEXT_INFO_ABOUT);
    m_pszRtf = rtf;
    m_nRtfLength = static_cast<std::int32_t>(std::strlen(rtf));
    m_nRtfPos = 0;
    EditStream es;
    es.dwCookie = reinterpret_cast<std::uintptr_t>(this);
    es.pfnCallback = &CTextInfoDlg::RtfStreamCallback;
    view->StreamIn(STREAM_FORMAT_RTF, es);
    return true;
}

std::uint32_t CTextInfoDlg::RtfStreamCallback(std::uintptr_t dwCookie, std::uint8_t* pbBuff,
                                              std::int32_t cb, std::int32_t* pcb) {
    auto* page = reinterpret_cast<CTextInfoDlg*>(dwCookie);
    const std::int32_t left = std::max(0, page->m_nRtfLength - page->m_nRtfPos);
    const std::int32_t count = std::clamp(cb, 0, left);
    if (count > 0) {
        std::memcpy(pbBuff, page->m_pszRtf + page->m_nRtfPos, static_cast<std::size_t>(count));
        page->m_nRtfPos += count;
    }
    *pcb = count;
    return 0;
}

} // namespace brimwell
