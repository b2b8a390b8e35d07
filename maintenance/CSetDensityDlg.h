#pragma once
#include "printer/CFuncDlg.h"

class QSlider;

namespace brimwell {

// The print density page (IDD_SET_DENSITY): a slider from 1 (light) to 15 (dark) with the value
// shown under it, and a button that sends the value to the printer.
class CSetDensityDlg : public CFuncDlg {
    Q_OBJECT
public:
    explicit CSetDensityDlg(QWidget* pParent);

    void OnPrinterAvailability(bool bAvailable) override;

    // The value a send would use: the slider's position, or the default when the slider is
    // missing.
    int DensityValue() const;

protected:
    bool OnInitDialog() override;

private:
    // The slider moved by a keyboard or mouse step, or its thumb is being dragged.
    void OnHScroll(int nPos);
    void OnSendDensity();
    QSlider* Slider() const;
};

} // namespace brimwell
