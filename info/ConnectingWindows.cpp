#include "info/InfoDocuments.h"

namespace brimwell {

const char* ConnectingRtf() {
    return kConnectingWindowsRtf;
}

} // namespace brimwell
