#include "hosts/win32/WinLinks.h"

#include "text/TextLinks.h"

#include <shellapi.h>

namespace brimwell {

std::vector<std::pair<std::size_t, std::size_t>> FindAddresses(const std::wstring& text) {
    return brimwell::FindAddresses(std::u16string(text.begin(), text.end()));
}

std::wstring AddressTarget(const std::wstring& address) {
    const std::u16string target =
        brimwell::AddressTarget(std::u16string(address.begin(), address.end()));
    return std::wstring(target.begin(), target.end());
}

namespace {

UrlOpener& CurrentOpener() {
    static UrlOpener opener = [](const std::wstring& target) {
        ShellExecuteW(nullptr, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    };
    return opener;
}

} // namespace

UrlOpener SetUrlOpener(UrlOpener opener) {
    UrlOpener old = std::move(CurrentOpener());
    CurrentOpener() = std::move(opener);
    return old;
}

void OpenUrl(const std::wstring& target) {
    // Only what an address in the text can become: never a program or a file.
    if (!IsOpenableTarget(std::u16string(target.begin(), target.end()))) {
        return;
    }
    if (const UrlOpener& opener = CurrentOpener()) {
        opener(target);
    }
}

bool OnRichEditLink(const ENLINK& link) {
    if (link.msg != WM_LBUTTONUP || link.chrg.cpMin < 0 || link.chrg.cpMax <= link.chrg.cpMin) {
        return false;
    }
    HWND edit = link.nmhdr.hwndFrom;
    // A click, not the end of a selection drag.
    CHARRANGE selection{};
    SendMessageW(edit, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    if (selection.cpMax != selection.cpMin) {
        return false;
    }
    std::wstring text(static_cast<std::size_t>(link.chrg.cpMax - link.chrg.cpMin) + 1, L'\0');
    TEXTRANGEW range{};
    range.chrg = link.chrg;
    range.lpstrText = &text[0];
    const LRESULT copied = SendMessageW(edit, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    const std::wstring target = AddressTarget(text);
    if (target.empty()) {
        return false;
    }
    OpenUrl(target);
    return true;
}

void MarkAddresses(HWND hwnd) {
    GETTEXTLENGTHEX lengthOf{GTL_DEFAULT | GTL_NUMCHARS, 1200};
    const LRESULT length =
        SendMessageW(hwnd, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&lengthOf), 0);
    if (length <= 0) {
        return;
    }
    // Paragraphs end in a lone CR, so that an index here is a character position there.
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    GETTEXTEX get{};
    get.cb = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    get.flags = GT_DEFAULT;
    get.codepage = 1200;
    const LRESULT copied = SendMessageW(hwnd, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get),
                                        reinterpret_cast<LPARAM>(&text[0]));
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    CHARRANGE kept{};
    SendMessageW(hwnd, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&kept));
    for (const auto& [start, end] : FindAddresses(text)) {
        CHARRANGE range{static_cast<LONG>(start), static_cast<LONG>(end)};
        SendMessageW(hwnd, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
        CHARFORMAT2W format{};
        format.cbSize = sizeof format;
        format.dwMask = CFM_LINK;
        format.dwEffects = CFE_LINK;
        SendMessageW(hwnd, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    }
    SendMessageW(hwnd, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&kept));
}

} // namespace brimwell
