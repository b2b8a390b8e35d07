#pragma once
#include "ui/Dialog.h"

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
//
// A page is made when its row is first selected, but the window is sized at start to fit
// every page: `fit` says the size the row's page will take in `window`, made from template
// `tmpl` (its row's), where its logic makes it larger than the template (the logo pages); by
// default it is the template's size as the host lays it out.
struct PageRow {
    const char* title;
    int dialogId;
    int pageArg;
    CFuncDlg* (*make)(const PageRow& row, IPageHost* host);
    DlgSize (*fit)(const IDialog& window, const DialogTemplate& tmpl) = nullptr;
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
