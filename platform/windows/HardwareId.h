#pragma once
#include "platform/UsbId.h"

#include <optional>
#include <string>

namespace brimwell {

// The vendor and product in a device's first hardware identifier as SetupAPI reports it
// ("USB\VID_1203&PID_0126&REV_0100"), read the way scanf reads "USB\VID_%x&PID_%x": the literal
// parts exactly (upper case), hex digits of either case, anything after the product ignored.
// A number the text does not reach stays 0, so an identifier of another kind reads as 0:0,
// which no device is listed as. A number beyond 16 bits is no USB id at all: nullopt.
// Pure text rules, kept apart from the SetupAPI calls so that every system's tests read them.
std::optional<UsbId> UsbIdFromHardwareId(const std::string& hardwareId);

} // namespace brimwell
