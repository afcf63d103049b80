#include "link/serial_session.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>

#include <cerrno>
#include <utility>

#include "link/low_latency.h"
#include "link/read_limits.h"
#include "link/serial_read.h"

namespace {

OpenOutcome OutcomeOfFailedOpen(int error) {
    switch (error) {
        case ENOENT:
        case ENODEV:
        case ENXIO:
            return OpenOutcome::Missing;
        case EBUSY:  // also a port another program holds in exclusive mode
            return OpenOutcome::Busy;
        case EACCES:
        case EPERM:
            return OpenOutcome::PermissionDenied;
        case EISDIR:
            return OpenOutcome::NotATerminal;
        default:
            return OpenOutcome::Unopenable;
    }
}

// Raw bytes at 115200 8N1: no echo, no line editing, no translation, no signals, no flow
// control in either direction, and the modem lines ignored so nothing waits on carrier.
// VMIN 1 makes a non-blocking read of an empty queue say EAGAIN, so a read of 0 bytes can
// only mean the line hung up.
void MakeRaw(termios& line) {
    line.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR |
                                           ICRNL | IXON | IXOFF | IXANY | INPCK);
    line.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    line.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    line.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
    line.c_cflag |= CS8 | CLOCAL | CREAD;
    line.c_cc[VMIN] = 1;
    line.c_cc[VTIME] = 0;
    cfsetispeed(&line, B115200);
    cfsetospeed(&line, B115200);
}

// The first steps of every open, which change nothing on the port: the device itself, the
// advisory lock, its line settings. On success `fd` holds the port, locked, and `line` its
// settings; on failure `error` gets the system's error of the failed step.
OpenOutcome OpenAndLock(const std::string& path, UniqueFd& fd, termios& line, int& error) {
    // O_NONBLOCK: never wait for carrier at open; the descriptor stays non-blocking and every
    // wait goes through poll.
    fd.Reset(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (!fd.IsValid()) {
        error = errno;
        return OutcomeOfFailedOpen(error);
    }
    // The advisory lock refuses a second session of ours and cooperating programs (picocom,
    // pyserial with exclusive=True); exclusive mode, set later, refuses any later open by
    // others.
    if (::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0) {
        error = errno;
        return error == EWOULDBLOCK ? OpenOutcome::Busy : OpenOutcome::Unopenable;
    }
    if (::tcgetattr(fd.Get(), &line) != 0) {
        error = errno;
        return OpenOutcome::NotATerminal;
    }
    return OpenOutcome::Opened;
}

}  // namespace

OpenOutcome ProbePort(const std::string& path, int& error) {
    error = 0;
    UniqueFd fd;
    termios line{};
    const OpenOutcome outcome = OpenAndLock(path, fd, line, error);
    if (fd.IsValid()) {
        ::flock(fd.Get(), LOCK_UN);
    }
    return outcome;
}

OpenOutcome ProbePort(const std::string& path) {
    int error = 0;
    return ProbePort(path, error);
}

const char* OpenOutcomeName(OpenOutcome outcome) {
    switch (outcome) {
        case OpenOutcome::Opened:
            return "Opened";
        case OpenOutcome::Missing:
            return "Missing";
        case OpenOutcome::Busy:
            return "Busy";
        case OpenOutcome::PermissionDenied:
            return "PermissionDenied";
        case OpenOutcome::NotATerminal:
            return "NotATerminal";
        case OpenOutcome::SettingsRejected:
            return "SettingsRejected";
        case OpenOutcome::Unopenable:
            return "Unopenable";
    }
    return "?";
}

SerialSession::~SerialSession() {
    Close();
}

SerialSession& SerialSession::operator=(SerialSession&& other) noexcept {
    if (this != &other) {
        Close();
        m_fd = std::move(other.m_fd);
        m_lastOpenError = other.m_lastOpenError;
        m_serialFlagsBefore = std::exchange(other.m_serialFlagsBefore, std::nullopt);
    }
    return *this;
}

OpenOutcome SerialSession::Fail(OpenOutcome outcome, int error) {
    m_lastOpenError = error;
    return outcome;
}

OpenOutcome SerialSession::Open(const std::string& path) {
    Close();
    UniqueFd fd;
    termios line{};
    int error = 0;
    const OpenOutcome locked = OpenAndLock(path, fd, line, error);
    if (locked != OpenOutcome::Opened) {
        return Fail(locked, error);  // the descriptor closes with `fd`, the lock with it
    }
    if (::ioctl(fd.Get(), TIOCEXCL) != 0) {
        return Fail(OpenOutcome::SettingsRejected, errno);
    }
    MakeRaw(line);
    if (::tcsetattr(fd.Get(), TCSANOW, &line) != 0) {
        const int error = errno;
        ::ioctl(fd.Get(), TIOCNXCL);
        return Fail(OpenOutcome::SettingsRejected, error);
    }
    m_serialFlagsBefore = RequestLowLatency(fd.Get());
    // Whatever an earlier exchange left behind (the rest of an over-long answer) goes now. A
    // failed flush does not stop the session.
    static_cast<void>(::tcflush(fd.Get(), TCIOFLUSH));
    m_fd = std::move(fd);
    m_lastOpenError = 0;
    return OpenOutcome::Opened;
}

void SerialSession::Close() {
    if (!m_fd.IsValid()) {
        return;
    }
    if (m_serialFlagsBefore) {
        RestoreSerialFlags(m_fd.Get(), *m_serialFlagsBefore);
        m_serialFlagsBefore.reset();
    }
    ::ioctl(m_fd.Get(), TIOCNXCL);
    ::flock(m_fd.Get(), LOCK_UN);
    m_fd.Reset();
}

bool SerialSession::Write(std::span<const std::uint8_t> bytes) {
    std::size_t sent = 0;
    return Write(bytes, sent);
}

bool SerialSession::Write(std::span<const std::uint8_t> bytes, std::size_t& sent) {
    sent = 0;
    if (!m_fd.IsValid()) {
        return false;
    }
    while (sent < bytes.size()) {
        const ssize_t n = ::write(m_fd.Get(), bytes.data() + sent, bytes.size() - sent);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) {
            return false;
        }
        pollfd waiter{m_fd.Get(), POLLOUT, 0};
        const int ready = ::poll(&waiter, 1, -1);
        if (ready < 0 && errno != EINTR) {
            return false;
        }
        if (ready > 0 && (waiter.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
            return false;
        }
    }
    return true;
}

bool SerialSession::Drain(std::chrono::milliseconds limit) {
    return m_fd.IsValid() && DrainWithin(m_fd.Get(), limit);
}

bool SerialSession::Read(std::span<std::uint8_t> buffer, std::size_t& received) {
    return Read(buffer, received, ReadLimits::TotalLimit(buffer.size()));
}

bool SerialSession::Read(std::span<std::uint8_t> buffer, std::size_t& received,
                         std::chrono::milliseconds totalLimit) {
    received = 0;
    if (!m_fd.IsValid()) {
        return false;
    }
    return ReadWithinLimits(m_fd.Get(), buffer, received, totalLimit);
}

void SerialSession::DiscardInput() {
    if (m_fd.IsValid()) {
        static_cast<void>(::tcflush(m_fd.Get(), TCIFLUSH));
    }
}
