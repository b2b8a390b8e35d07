#pragma once
// What a screen reader is told about a control beyond what Windows finds itself (an edit's or
// a list's name comes from the static text before it): names of controls whose label does not
// say what they are for, and the role and description of a drawn picture. Set through
// dynamic annotation (IAccPropServices), which the system's accessibility proxies and UI
// Automation both read.
#include <windows.h>

#include <string>

namespace brimwell {

// Each returns false when the annotation could not be made (no accessibility services).
bool SetAccessibleName(HWND hwnd, const std::wstring& name);
bool SetAccessibleDescription(HWND hwnd, const std::wstring& description);
// A window whose content is a picture: ROLE_SYSTEM_GRAPHIC.
bool SetAccessibleGraphicRole(HWND hwnd);

} // namespace brimwell
