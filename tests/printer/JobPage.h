#pragma once
#include "support/FakePlatform.h"

namespace brimwell::test {

// A page that exposes the page base's job operations to the tests.
class JobPage : public CFuncDlg {
public:
    explicit JobPage(IPageHost* parent) : CFuncDlg(IDD_SET_DATE_TIME, parent) {}
    using CFuncDlg::CloseJob;
    using CFuncDlg::OpenJob;
    using CFuncDlg::SendJob;
    using CFuncDlg::SpoolBytes;
    using CFuncDlg::SpoolPrintf;
    using CFuncDlg::WriteJob;
};

// A page factory that makes a JobPage for every row.
inline CBrimwellDlg::PageFactory JobPages() {
    return [](const PageRow&, IPageHost* host) -> CFuncDlg* { return new JobPage(host); };
}

} // namespace brimwell::test
