#pragma once
#include <windows.h>

namespace brimwell {

// GUID_DEVINTERFACE_USBPRINT, the USB printer device interface class,
// {28d78fad-5a12-11d1-ae5b-0000f803a8c2}: what the enumerator lists and the monitor hears.
inline constexpr GUID kUsbPrintInterfaceClass = {
    0x28d78fad, 0x5a12, 0x11d1, {0xae, 0x5b, 0x00, 0x00, 0xf8, 0x03, 0xa8, 0xc2}};

} // namespace brimwell
