#pragma once
#include "platform/DeviceEnumerator.h"

namespace brimwell {

// Present USB printer-class device interfaces, from SetupAPI, in the order it enumerates
// them. A device whose interface path does not fit the 292-byte detail buffer (143 characters
// and the terminating zero) or whose detail cannot be read is left out; unreadable location
// or hardware-identifier properties are reported as such, for the printer filter to skip.
class SetupApiEnumerator : public IDeviceEnumerator {
public:
    bool Enumerate(std::vector<RawDeviceInterface>& out) override;
};

} // namespace brimwell
