#include "info/InfoDocuments.h"

namespace brimwell {

ConnectingSystem ThisSystem() {
    return ConnectingSystem::Linux;
}

} // namespace brimwell
