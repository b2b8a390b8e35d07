#pragma once
#include "logo/LabelPreview.h"

#include <string>
#include <vector>

namespace brimwell {

class CDialogBase;
class ILabelPreviewCtrl;

// The label preview of a logo page: the label with the holder's logo on it, or the holder's
// status message while no logo is loaded. The holder belongs to the page; the control only
// reads it. The control works out what to draw from its size and the holder; the host's
// preview control draws it.
class CLogoPreviewCtrl {
public:
    explicit CLogoPreviewCtrl(const CLogoFmtHandler* pLogo) : m_pLogo(pLogo) {}

    // Binds to control `nID` of the page `owner`; false when the page has no such preview.
    bool SubclassDlgItem(int nID, CDialogBase& owner);
    int ControlId() const { return m_nID; }

    // The page loaded, turned or inverted the logo, or resized the control: the preview is
    // drawn afresh.
    void LogoChanged();

    // What the control draws at its current size.
    std::vector<PreviewStep> Steps() const;

    // The preview's name ("Pass label preview"), given to the control once, as the page starts.
    void SetName(std::string name);
    // How the logo was turned and inverted since it was loaded: what the control's description
    // says besides the logo's size. A new load clears both; each turn is a quarter turn
    // clockwise.
    void ClearTransforms() {
        m_nQuarterTurns = 0;
        m_bInverted = false;
    }
    void AddQuarterTurn() { m_nQuarterTurns = (m_nQuarterTurns + 1) % 4; }
    void ToggleInverted() { m_bInverted = !m_bInverted; }
    // What the control shows, in words (PreviewDescription).
    std::string Description() const;

private:
    ILabelPreviewCtrl* Control() const;

    const CLogoFmtHandler* m_pLogo;
    CDialogBase* m_pOwner = nullptr;
    int m_nID = 0;
    std::string m_name;
    int m_nQuarterTurns = 0;
    bool m_bInverted = false;
};

} // namespace brimwell
