#include "info/InfoDocuments.h"

namespace brimwell {

const char* ConnectingRtf() {
    return kConnectingLinuxRtf;
}

} // namespace brimwell
