#pragma once
#include "printer/CFuncDlg.h"
#include "tester/LabelFormatter.h"

namespace brimwell {

// The "Generate Test Label" page: sends the printer the text the selected tester type would
// print after a passed or a failed test, so that a label can be printed without a tester.
class CGenTstLblDlg : public CFuncDlg {
public:
    explicit CGenTstLblDlg(IPageHost* pParent);

    void OnPrinterAvailability(bool bAvailable) override;
    void OnTesterTypeChange(CFuncDlg* pSource, int nIndex) override;
    void OnCommand(int nID, Notify code) override;

protected:
    bool OnInitDialog() override;

private:
    // IDC_PASS_LABEL and IDC_FAIL_LABEL: one label, dated with the local time now.
    void OnGenerateLabel(TestResult result);
};

} // namespace brimwell
