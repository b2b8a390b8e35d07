#include "platform/JobControl.h"

#include <cstdint>
#include <sys/eventfd.h>
#include <unistd.h>

namespace brimwell {

JobControl::JobControl() : m_fd(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

JobControl::~JobControl() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

void JobControl::RequestStop() {
    m_stop.store(true, std::memory_order_release);
    if (m_fd >= 0) {
        const std::uint64_t one = 1;
        // Only fails when the counter is full, which one stop can never make it.
        [[maybe_unused]] const ssize_t n = ::write(m_fd, &one, sizeof one);
    }
}

} // namespace brimwell
