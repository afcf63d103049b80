#include "link/arrival/injected_device_source.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

InjectedDeviceSource::InjectedDeviceSource() {
    int ends[2] = {-1, -1};
    if (::pipe2(ends, O_NONBLOCK | O_CLOEXEC) == 0) {
        m_readEnd.Reset(ends[0]);
        m_writeEnd.Reset(ends[1]);
    }
}

// One byte in the pipe per waiting report keeps the descriptor readable until the last one
// has been received.
bool InjectedDeviceSource::Inject(TtyDeviceReport report) {
    const char wake = 1;
    ssize_t put = -1;
    do {
        put = m_writeEnd.IsValid() ? ::write(m_writeEnd.Get(), &wake, 1) : -1;
    } while (put < 0 && errno == EINTR);
    if (put != 1) {
        return false;
    }
    m_reports.push_back(std::move(report));
    return true;
}

std::optional<TtyDeviceReport> InjectedDeviceSource::Receive() {
    if (m_reports.empty()) {
        return std::nullopt;
    }
    char wake = 0;
    ssize_t got = -1;
    do {
        got = ::read(m_readEnd.Get(), &wake, 1);
    } while (got < 0 && errno == EINTR);
    TtyDeviceReport report = std::move(m_reports.front());
    m_reports.pop_front();
    return report;
}
