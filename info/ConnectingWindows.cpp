#include "info/InfoDocuments.h"

namespace brimwell {

ConnectingSystem ThisSystem() {
    return ConnectingSystem::Windows;
}

} // namespace brimwell
