#include "hosts/win32/WinAccessibility.h"

#include <initguid.h>
#include <objbase.h>
#include <oleacc.h>

namespace brimwell {
namespace {

// The annotation service of this thread, made on first use. The window's thread takes part in
// COM apartment-threaded, as the shell's dialogs need it too; a thread already in another
// apartment keeps it.
IAccPropServices* PropServices() {
    static IAccPropServices* const services = [] {
        const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        (void)init; // S_FALSE or RPC_E_CHANGED_MODE: COM is already there
        IAccPropServices* made = nullptr;
        if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IAccPropServices, reinterpret_cast<void**>(&made)))) {
            return static_cast<IAccPropServices*>(nullptr);
        }
        return made;
    }();
    return services;
}

bool SetString(HWND hwnd, const MSAAPROPID& prop, const std::wstring& text) {
    IAccPropServices* services = PropServices();
    return hwnd && services &&
           SUCCEEDED(services->SetHwndPropStr(hwnd, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                              prop, text.c_str()));
}

} // namespace

bool SetAccessibleName(HWND hwnd, const std::wstring& name) {
    return SetString(hwnd, PROPID_ACC_NAME, name);
}

bool SetAccessibleDescription(HWND hwnd, const std::wstring& description) {
    return SetString(hwnd, PROPID_ACC_DESCRIPTION, description);
}

bool SetAccessibleGraphicRole(HWND hwnd) {
    IAccPropServices* services = PropServices();
    if (!hwnd || !services) {
        return false;
    }
    VARIANT role{};
    role.vt = VT_I4;
    role.lVal = ROLE_SYSTEM_GRAPHIC;
    return SUCCEEDED(services->SetHwndProp(hwnd, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                           PROPID_ACC_ROLE, role));
}

} // namespace brimwell
