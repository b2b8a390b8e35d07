#include "logo/CLogoPreviewCtrl.h"

#include "platform/DialogBase.h"

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
    const PreviewTextExtents extents = control->LabelTextExtents();
    if (!m_pLogo) {
        return LabelPreviewSteps(rect.cx, rect.cy, LOGO_NO_FILE, 0, 0, extents);
    }
    return LabelPreviewSteps(rect.cx, rect.cy, *m_pLogo, extents);
}

void CLogoPreviewCtrl::LogoChanged() {
    if (ILabelPreviewCtrl* control = Control()) {
        control->SetSteps(Steps(), m_pLogo);
    }
}

} // namespace brimwell
