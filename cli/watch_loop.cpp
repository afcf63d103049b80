#include "cli/watch_loop.h"

#include <poll.h>

#include <array>
#include <cerrno>
#include <vector>

#include "cli/stop_signals.h"

WatchEnd WatchPortChanges(ArrivalFeed& feed, const std::function<void(const PortChange&)>& onChange,
                          const std::function<void()>& onTick, std::chrono::milliseconds tick) {
    StopSignals stop;
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
            (void)stop.Take();
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
