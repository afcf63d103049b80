#include "fifo_feed.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <thread>

namespace {

constexpr auto kReaderWait = std::chrono::seconds(20);

}  // namespace

FifoFeed::FifoFeed(const std::string& path) {
    // A reader that goes away must give EPIPE here, not end the test program.
    std::signal(SIGPIPE, SIG_IGN);
    const auto deadline = std::chrono::steady_clock::now() + kReaderWait;
    // Without a reader, a non-blocking open for writing fails with ENXIO instead of waiting.
    while (std::chrono::steady_clock::now() < deadline) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0) {
            ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
            m_fd.Reset(fd);
            return;
        }
        if (errno != ENXIO) {
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

bool FifoFeed::Line(const std::string& line) {
    const std::string text = line + "\n";
    std::size_t done = 0;
    while (m_fd.IsValid() && done < text.size()) {
        const ssize_t n = ::write(m_fd.Get(), text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return m_fd.IsValid();
}
