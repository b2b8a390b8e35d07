#pragma once
#include "printer/CFuncDlg.h"
#include "tester/LabelFormatter.h"

namespace brimwell {

// The "Generate Test Label" page: sends the printer the text the selected tester type would
// print after a passed or a failed test, so that a label can be printed without a tester.
class CGenTstLblDlg : public CFuncDlg {
    Q_OBJECT
public:
    explicit CGenTstLblDlg(QWidget* pParent);

    void OnPrinterAvailability(bool bAvailable) override;
    void OnTesterTypeChange(CFuncDlg* pSource, int nIndex) override;

protected:
    bool OnInitDialog() override;

private:
    // IDC_PASS_LABEL and IDC_FAIL_LABEL: one label, dated with the local time now.
    void OnGenerateLabel(TestResult result);
};

} // namespace brimwell
