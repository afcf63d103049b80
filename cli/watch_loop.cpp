#include "cli/watch_loop.h"

#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <vector>

#include "link/unique_fd.h"

namespace {

// Blocks the stop signals for as long as it lives and gives them as a readable descriptor. A
// second interrupt after the watch has ended stops the program at once, as usual.
class StopSignals {
  public:
    StopSignals() {
        sigemptyset(&m_signals);
        sigaddset(&m_signals, SIGINT);
        sigaddset(&m_signals, SIGTERM);
        pthread_sigmask(SIG_BLOCK, &m_signals, &m_previous);
        m_fd.Reset(signalfd(-1, &m_signals, SFD_CLOEXEC | SFD_NONBLOCK));
    }
    ~StopSignals() { pthread_sigmask(SIG_SETMASK, &m_previous, nullptr); }
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    [[nodiscard]] int Descriptor() const { return m_fd.Get(); }

  private:
    sigset_t m_signals{};
    sigset_t m_previous{};
    UniqueFd m_fd;
};

}  // namespace

WatchEnd WatchPortChanges(ArrivalFeed& feed, const std::function<void(const PortChange&)>& onChange,
                          const std::function<void()>& onTick, std::chrono::milliseconds tick) {
    const StopSignals stop;
    if (stop.Descriptor() < 0) {
        return WatchEnd::Failed;
    }
    std::vector<PortChange> changes;
    for (;;) {
        std::array<pollfd, 2> watched{pollfd{stop.Descriptor(), POLLIN, 0},
                                      pollfd{feed.Descriptor(), POLLIN, 0}};
        const int ready = ::poll(watched.data(), watched.size(), static_cast<int>(tick.count()));
        if (ready < 0 && errno != EINTR) {
            return WatchEnd::Failed;
        }
        if (watched[0].revents != 0) {
            // Taken here, or it would still be pending when the mask is restored and end the
            // program before the batch can finish and report.
            signalfd_siginfo taken{};
            (void)::read(stop.Descriptor(), &taken, sizeof taken);
            return WatchEnd::Interrupted;
        }
        bool ended = false;
        if (watched[1].revents != 0) {
            changes.clear();
            ended = !feed.Take(changes);
            for (const PortChange& change : changes) {
                onChange(change);
            }
        }
        onTick();
        if (ended) {
            return WatchEnd::FeedEnded;
        }
    }
}
