#pragma once
// The addresses in the rich-text views: found in the text (text/TextLinks), marked as links
// in a RichEdit, and opened in the user's mail program or browser when clicked.
#include <windows.h>

#include <richedit.h>

#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace brimwell {

// The rich text's addresses and their targets (text/TextLinks) in the window's UTF-16.
std::vector<std::pair<std::size_t, std::size_t>> FindAddresses(const std::wstring& text);
std::wstring AddressTarget(const std::wstring& address);

// Opens a mailto:, http: or https: target in the user's mail program or browser
// (ShellExecuteW "open"). Replaceable, so that a test can see what would open; returns the
// opener it replaced.
using UrlOpener = std::function<void(const std::wstring& target)>;
UrlOpener SetUrlOpener(UrlOpener opener);
void OpenUrl(const std::wstring& target);

// Marks the addresses in the RichEdit's text as links (CFE_LINK), so that a click on one
// reaches its dialog as EN_LINK. RichEdit's own detection (EM_AUTOURLDETECT) finds web
// addresses but not e-mail addresses; this finds both, as the Linux window does.
void MarkAddresses(HWND richEdit);

// A rich edit's link notification: on a click (the left button released with nothing
// selected), opens the address under it. True when it was a click on an address.
bool OnRichEditLink(const ENLINK& link);

} // namespace brimwell
