#pragma once
#include "printer/CFuncDlg.h"

namespace brimwell {

// The print density page (IDD_SET_DENSITY): a slider from 1 (light) to 15 (dark) with the value
// shown under it, and a button that sends the value to the printer.
class CSetDensityDlg : public CFuncDlg {
public:
    explicit CSetDensityDlg(IPageHost* pParent);

    void OnPrinterAvailability(bool bAvailable) override;
    void OnCommand(int nID, Notify code) override;
    // The slider moved by a keyboard or mouse step, or its thumb is being dragged.
    void OnHScroll(int nID, int nPos) override;

    // The value a send would use: the slider's position, or the default when the slider is
    // missing.
    int DensityValue() const;

protected:
    bool OnInitDialog() override;

private:
    void OnSendDensity();
};

} // namespace brimwell
