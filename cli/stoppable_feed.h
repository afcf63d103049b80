#pragma once

#include <atomic>
#include <memory>
#include <vector>

#include "cli/arrival_feed.h"
#include "link/unique_fd.h"

// A request to end a watch from within the program (a batch whose MAC pool stopped handing
// out MACs), from any thread.
class WatchStop {
  public:
    WatchStop();

    void Request();
    [[nodiscard]] bool Requested() const { return m_requested; }
    // Readable once requested; -1 when none could be made.
    [[nodiscard]] int Descriptor() const { return m_event.Get(); }

  private:
    std::atomic<bool> m_requested{false};
    UniqueFd m_event;
};

// A feed that ends when `stop` is requested, as a scripted feed ends at its end, so the watch
// over it ends and the batch finishes what runs and reports. Otherwise it is `inner`.
class StoppableFeed : public ArrivalFeed {
  public:
    StoppableFeed(std::unique_ptr<ArrivalFeed> inner, const WatchStop& stop);

    // Readable when the inner feed is, or when the stop is requested.
    [[nodiscard]] int Descriptor() const override {
        return m_either.IsValid() ? m_either.Get() : m_inner->Descriptor();
    }
    [[nodiscard]] bool Take(std::vector<PortChange>& changes) override;

  private:
    std::unique_ptr<ArrivalFeed> m_inner;
    const WatchStop& m_stop;
    UniqueFd m_either;  // an epoll descriptor over both; none where epoll cannot watch them
};
