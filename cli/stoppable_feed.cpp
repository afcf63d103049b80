#include "cli/stoppable_feed.h"

#include <poll.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>
#include <utility>

WatchStop::WatchStop() : m_event(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

void WatchStop::Request() {
    m_requested = true;
    const std::uint64_t one = 1;
    (void)!::write(m_event.Get(), &one, sizeof one);
}

namespace {

bool Watch(int epoll, int fd) {
    epoll_event event{};
    event.events = EPOLLIN;
    event.data.fd = fd;
    return fd >= 0 && ::epoll_ctl(epoll, EPOLL_CTL_ADD, fd, &event) == 0;
}

bool Readable(int fd) {
    pollfd watched{fd, POLLIN, 0};
    return ::poll(&watched, 1, 0) > 0 && watched.revents != 0;
}

}  // namespace

StoppableFeed::StoppableFeed(std::unique_ptr<ArrivalFeed> inner, const WatchStop& stop)
    : m_inner(std::move(inner)), m_stop(stop), m_either(::epoll_create1(EPOLL_CLOEXEC)) {
    // A regular file cannot be watched by epoll (it is always readable); the feed then stands
    // as it is and never ends early, as it does without the stop's descriptor.
    if (!Watch(m_either.Get(), m_inner->Descriptor()) ||
        !Watch(m_either.Get(), m_stop.Descriptor())) {
        m_either.Reset();
    }
}

bool StoppableFeed::Take(std::vector<PortChange>& changes) {
    if (m_stop.Requested()) {
        return false;
    }
    // The inner feed is asked only when it has something: a scripted feed's read would wait.
    return Readable(m_inner->Descriptor()) ? m_inner->Take(changes) : true;
}
