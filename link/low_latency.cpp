#include "link/low_latency.h"

#include <linux/serial.h>
#include <sys/ioctl.h>

std::optional<int> RequestLowLatency(int fd) {
    serial_struct serial{};
    if (::ioctl(fd, TIOCGSERIAL, &serial) != 0) {
        return std::nullopt;
    }
    const int before = serial.flags;
    if ((before & ASYNC_LOW_LATENCY) != 0) {
        return before;
    }
    serial.flags |= ASYNC_LOW_LATENCY;
    if (::ioctl(fd, TIOCSSERIAL, &serial) != 0) {
        return std::nullopt;
    }
    return before;
}

void RestoreSerialFlags(int fd, int flags) {
    serial_struct serial{};
    if (::ioctl(fd, TIOCGSERIAL, &serial) != 0 || serial.flags == flags) {
        return;
    }
    serial.flags = flags;
    static_cast<void>(::ioctl(fd, TIOCSSERIAL, &serial));
}
