#pragma once
#include <new>
#include <type_traits>
#include <vector>

namespace brimwell {

class CFuncDlg;
class IPageHost;

// One row of the function list: the title listed on the left, the dialog template of its page,
// the argument handed to the page (which help text, the pass or the fail logo) and the factory
// that builds the page, with the window as its host. A row without a factory, or whose factory
// returns nullptr, is listed with no page.
struct PageRow {
    const char* title;
    int dialogId;
    int pageArg;
    CFuncDlg* (*make)(const PageRow& row, IPageHost* host);
};

// The rows in the order the user sees them; a row's position is its slot in the window.
using PageTable = std::vector<PageRow>;

// The function list of the window as delivered.
const PageTable& FunctionPages();

// The factory of a page of class Page: constructed with its host, and with the row's argument
// as well when Page takes one. A page that cannot be allocated leaves its slot empty.
template <class Page>
CFuncDlg* NewPage(const PageRow& row, IPageHost* host) {
    if constexpr (std::is_constructible_v<Page, IPageHost*, int>) {
        return new (std::nothrow) Page(host, row.pageArg);
    } else {
        return new (std::nothrow) Page(host);
    }
}

} // namespace brimwell
