#pragma once

namespace brimwell {

// The wait cursor, counted: shown from the first Begin until the matching End.
class IWaitCursor {
public:
    virtual ~IWaitCursor() = default;
    virtual void Begin() = 0;
    virtual void End() = 0;
};

} // namespace brimwell
