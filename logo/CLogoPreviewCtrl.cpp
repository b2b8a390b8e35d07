#include "logo/CLogoPreviewCtrl.h"

#include "logo/LabelPreviewPainter.h"

#include <QPainter>

namespace brimwell {

CLogoPreviewCtrl::CLogoPreviewCtrl(CLogoFmtHandler* pLogo, QWidget* pParent)
    : QWidget(pParent), m_pLogo(pLogo) {
    // Every paint covers the whole control, so nothing needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CLogoPreviewCtrl::LogoChanged() {
    m_bImageStale = true;
    update();
}

std::vector<PreviewStep> CLogoPreviewCtrl::Steps() const {
    const PreviewTextExtents& extents = PreviewFonts::Get().extents;
    if (!m_pLogo) {
        return LabelPreviewSteps(width(), height(), LOGO_NO_FILE, 0, 0, extents);
    }
    return LabelPreviewSteps(width(), height(), *m_pLogo, extents);
}

void CLogoPreviewCtrl::paintEvent(QPaintEvent*) {
    if (m_bImageStale) {
        m_image = m_pLogo ? LogoPreviewImage(*m_pLogo) : QImage();
        m_bImageStale = false;
    }
    QPainter painter(this);
    PaintLabelPreview(painter, Steps(), m_image,
                      palette().color(QPalette::Active, QPalette::ButtonText));
}

} // namespace brimwell
