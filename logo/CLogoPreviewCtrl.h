#pragma once
#include "logo/LabelPreview.h"

#include <QImage>
#include <QWidget>
#include <vector>

namespace brimwell {

// The label preview of a logo page: draws the label with the holder's logo on it, or the
// holder's status message while no logo is loaded. The holder belongs to the page; the control
// only reads it.
class CLogoPreviewCtrl : public QWidget {
    Q_OBJECT
public:
    explicit CLogoPreviewCtrl(CLogoFmtHandler* pLogo, QWidget* pParent = nullptr);

    // The page loaded, turned or inverted the logo: the picture is made afresh on the next
    // paint, which this asks for.
    void LogoChanged();

    // What a paint at the current size draws.
    std::vector<PreviewStep> Steps() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CLogoFmtHandler* m_pLogo;
    QImage m_image;            // the holder's picture, converted for drawing
    bool m_bImageStale = true; // the holder changed since m_image was made
};

} // namespace brimwell
