#pragma once
#include "platform/DeviceEnumerator.h"
#include "text/Translate.h"

#include <cstddef>
#include <string>
#include <vector>

namespace brimwell {

inline constexpr int PRINTER_KIND_PRINTER = 1;
inline constexpr int PRINTER_KIND_ADAPTER = 2;

inline constexpr const char* kNoPrinterFound = N_("No printer found");

// A device path, with its terminating zero, must fit in this many characters.
inline constexpr std::size_t kMaxDevicePathChars = 144;

// One row of the identification table: a vendor/product pair and the kind it is listed as.
struct IdentificationRow {
    UsbId id;
    int kind;
};

// Every pair the utility lists (the access rules for the device nodes cover the same).
const std::vector<IdentificationRow>& IdentificationTable();

// The printer kind of a vendor/product pair, or 0 when the pair is not one of ours.
int IdentifyPrinterKind(UsbId id);

// Display text of a kind: "USB-to-Parallel adapter" for adapters, "Brimwell printer" else.
const char* PrinterKindName(int kind);

// One device that passes the filter.
struct ListedPrinter {
    int kind = 0;
    std::string name;
    std::string devicePath;
    UsbId usbId; // the vendor and product it was identified by
};

// The per-device rules of the printer list, in enumeration order: a path too long for the
// detail buffer, an unreadable location or vendor and product, or a pair not in the
// identification table skips the device.
std::vector<ListedPrinter> FilterPrinters(const std::vector<RawDeviceInterface>& devices);

// Whether two device paths are equal, ignoring the case of ASCII letters only.
bool SameDevicePath(const std::string& a, const std::string& b);

} // namespace brimwell
