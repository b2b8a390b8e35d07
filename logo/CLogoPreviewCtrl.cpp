#include "logo/CLogoPreviewCtrl.h"
#include "logo/LabelPreviewCtrl.h"

#include "ui/DialogBase.h"

#include <utility>

namespace brimwell {

bool CLogoPreviewCtrl::SubclassDlgItem(int nID, CDialogBase& owner) {
    if (!owner.Dialog().LabelPreview(nID)) {
        return false;
    }
    m_pOwner = &owner;
    m_nID = nID;
    LogoChanged();
    return true;
}

ILabelPreviewCtrl* CLogoPreviewCtrl::Control() const {
    return m_pOwner ? m_pOwner->Dialog().LabelPreview(m_nID) : nullptr;
}

std::vector<PreviewStep> CLogoPreviewCtrl::Steps() const {
    const ILabelPreviewCtrl* control = Control();
    if (!control) {
        return {};
    }
    const DlgRect rect = m_pOwner->Dialog().ItemRect(m_nID);
    if (!m_pLogo || !m_pLogo->IsLoaded()) {
        // Only the status message: the label texts are not drawn, so their fonts are not
        // measured (which would load the fonts at start-up, for a page not yet shown).
        return LabelPreviewSteps(rect.cx, rect.cy, m_pLogo ? m_pLogo->GetStatus() : LOGO_NO_FILE, 0,
                                 0, PreviewTextExtents{});
    }
    return LabelPreviewSteps(rect.cx, rect.cy, *m_pLogo, control->LabelTextExtents());
}

void CLogoPreviewCtrl::SetName(std::string name) {
    m_name = std::move(name);
    if (Control() && !m_name.empty()) {
        m_pOwner->Dialog().SetItemAccessibleName(m_nID, m_name);
    }
}

std::string CLogoPreviewCtrl::Description() const {
    PreviewView view;
    if (m_pLogo) {
        view.status = m_pLogo->GetStatus();
        if (m_pLogo->IsLoaded()) {
            view.width = m_pLogo->GetWidth();
            view.height = m_pLogo->GetHeight();
            view.quarterTurns = m_nQuarterTurns;
            view.inverted = m_bInverted;
        }
    }
    return PreviewDescription(m_name, view);
}

void CLogoPreviewCtrl::LogoChanged() {
    if (ILabelPreviewCtrl* control = Control()) {
        control->SetSteps(Steps(), m_pLogo);
        m_pOwner->Dialog().SetItemAccessibleDescription(m_nID, Description());
    }
}

} // namespace brimwell
