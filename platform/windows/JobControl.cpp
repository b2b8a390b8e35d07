#include "platform/JobControl.h"

#include <windows.h>

namespace brimwell {

JobControl::JobControl() : m_event(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

JobControl::~JobControl() {
    if (m_event) {
        CloseHandle(static_cast<HANDLE>(m_event));
    }
}

void JobControl::RequestStop() {
    m_stop.store(true, std::memory_order_release);
    if (m_event) {
        SetEvent(static_cast<HANDLE>(m_event));
    }
}

} // namespace brimwell
