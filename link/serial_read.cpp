#include "link/serial_read.h"

#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <ctime>

#include "link/read_limits.h"

namespace {

using Clock = std::chrono::steady_clock;

timespec ToTimespec(Clock::duration wait) {
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(wait).count();
    return timespec{static_cast<time_t>(ns / 1'000'000'000), static_cast<long>(ns % 1'000'000'000)};
}

enum class Wait { Readable, TimedOut, Failed };

// Waits until `fd` is readable or `until` has come. A hangup or error of the port is Failed,
// even with bytes still pending: an answer cut by a vanished adapter is no answer.
Wait WaitReadable(int fd, Clock::time_point until) {
    for (;;) {
        const auto now = Clock::now();
        const bool late = now >= until;
        // Past the limit we still look once without waiting: bytes that arrived while this
        // thread was held up (a busy machine) belong to the answer and are not a pause.
        pollfd waiter{fd, POLLIN, 0};
        const timespec wait = ToTimespec(late ? Clock::duration::zero() : until - now);
        const int ready = ::ppoll(&waiter, 1, &wait, nullptr);
        if (ready < 0) {
            if (errno == EINTR) {
                continue;
            }
            return Wait::Failed;
        }
        if (ready == 0) {
            if (late) {
                return Wait::TimedOut;
            }
            continue;  // woken early; the clock decides
        }
        if ((waiter.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
            return Wait::Failed;
        }
        return Wait::Readable;
    }
}

}  // namespace

bool ReadWithinLimits(int fd, std::span<std::uint8_t> buffer, std::size_t& received,
                      std::chrono::milliseconds totalLimit) {
    received = 0;
    const auto start = Clock::now();
    const auto totalDeadline = start + totalLimit;
    auto quietDeadline = Clock::time_point::max();
    while (received < buffer.size()) {
        const auto until = received == 0 ? totalDeadline : std::min(totalDeadline, quietDeadline);
        const Wait wait = WaitReadable(fd, until);
        if (wait == Wait::TimedOut) {
            return true;
        }
        if (wait == Wait::Failed) {
            return false;
        }
        const ssize_t n = ::read(fd, buffer.data() + received, buffer.size() - received);
        if (n > 0) {
            received += static_cast<std::size_t>(n);
            quietDeadline = Clock::now() + ReadLimits::kQuietLimit;
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
            continue;
        }
        return false;  // EIO, or end of file on a line that hung up
    }
    return true;
}

bool DrainWithin(int fd, std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    for (;;) {
        int queued = 0;
        if (::ioctl(fd, TIOCOUTQ, &queued) != 0) {
            return true;  // the driver cannot tell; a port that failed shows in the next read
        }
        if (queued <= 0) {
            return true;
        }
        const auto now = Clock::now();
        if (now >= deadline) {
            return false;
        }
        // Sleep about as long as the queued bytes take on the line, never past the deadline.
        const auto onTheLine = ReadLimits::kByteTime * queued;
        const timespec wait = ToTimespec(std::min<Clock::duration>(onTheLine, deadline - now));
        ::nanosleep(&wait, nullptr);
    }
}
