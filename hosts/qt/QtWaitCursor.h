#pragma once
#include "ui/WaitCursor.h"

namespace brimwell {

// The application-wide wait cursor; Qt keeps the override cursors as a counted stack.
class QtWaitCursor : public IWaitCursor {
public:
    void Begin() override;
    void End() override;
};

} // namespace brimwell
