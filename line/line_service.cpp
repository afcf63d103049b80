#include "line/line_service.h"

#include <unistd.h>

#include <iostream>

#include <boost/asio/io_context.hpp>
#include <boost/asio/posix/stream_descriptor.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/steady_timer.hpp>
#include <nlohmann/json.hpp>

namespace net = boost::asio;

struct LineService::Waits {
    explicit Waits(net::io_context& io) : tick(io), poll(io), heartbeat(io) {}

    net::steady_timer tick;
    net::steady_timer poll;
    net::steady_timer heartbeat;
    std::optional<net::posix::stream_descriptor> announcements;
    int watchedDescriptor = -1;
};

LineService::LineService(net::io_context& io, StoreWorker& worker, LineReader& reader,
                         EventHub& hub, std::chrono::milliseconds tick)
    : m_io(io),
      m_worker(worker),
      m_reader(reader),
      m_hub(hub),
      m_tick(tick),
      m_waits(std::make_unique<Waits>(io)) {}

LineService::~LineService() = default;

void LineService::Start(LineReader::Refreshed first) {
    m_snapshot = std::move(first.snapshot);
    m_failure = std::move(first.failure);
    WatchChanges(m_reader.ChangeDescriptor());
    Tick();
    Heartbeat();
}

void LineService::RequestRefresh() {
    if (m_refreshing) {
        m_refreshAgain = true;
        return;
    }
    m_refreshing = true;
    m_worker.Post([this] {
        LineReader::Refreshed refreshed = m_reader.Refresh();
        net::post(m_io, [this, refreshed = std::move(refreshed)]() mutable {
            Apply(std::move(refreshed));
        });
    });
}

void LineService::Apply(LineReader::Refreshed refreshed) {
    m_refreshing = false;
    if (refreshed.failure != m_failure && !refreshed.failure.empty()) {
        std::cerr << "lvcfg-line: " << refreshed.failure << '\n';
    }
    const bool failureChanged = refreshed.failure != m_failure;
    m_failure = std::move(refreshed.failure);
    const bool contentChanged =
        refreshed.snapshot && (!m_snapshot || m_snapshot->content != refreshed.snapshot->content);
    if (refreshed.snapshot) {
        m_snapshot = std::move(refreshed.snapshot);
    }
    if (contentChanged || failureChanged || !refreshed.newRecords.empty()) {
        const nlohmann::json data{{"records", refreshed.newRecords}};
        m_hub.Publish("change", data.dump());
    }
    if (m_refreshAgain) {
        m_refreshAgain = false;
        RequestRefresh();
    }
}

void LineService::CheckForChanges() {
    m_worker.Post([this] {
        const bool changed = m_reader.Changed();
        const int descriptor = m_reader.ChangeDescriptor();
        net::post(m_io, [this, changed, descriptor] {
            if (changed) {
                RequestRefresh();
            }
            WatchChanges(descriptor);
        });
    });
}

// Waits for the store's announcements where it makes them, else asks again in a second.
void LineService::WatchChanges(int descriptor) {
    if (descriptor < 0) {
        m_waits->announcements.reset();
        m_waits->watchedDescriptor = -1;
        m_waits->poll.expires_after(kPoll);
        m_waits->poll.async_wait([this](boost::system::error_code error) {
            if (!error) {
                CheckForChanges();
            }
        });
        return;
    }
    if (descriptor != m_waits->watchedDescriptor) {
        // The connection's socket stays the source's own: the watch uses a duplicate.
        m_waits->announcements.emplace(m_io, ::dup(descriptor));
        m_waits->watchedDescriptor = descriptor;
    }
    m_waits->announcements->async_wait(net::posix::stream_descriptor::wait_read,
                                       [this](boost::system::error_code error) {
                                           if (!error) {
                                               CheckForChanges();
                                           }
                                       });
}

void LineService::Tick() {
    m_waits->tick.expires_after(m_tick);
    m_waits->tick.async_wait([this](boost::system::error_code error) {
        if (error) {
            return;
        }
        RequestRefresh();
        Tick();
    });
}

void LineService::Heartbeat() {
    m_waits->heartbeat.expires_after(kHeartbeat);
    m_waits->heartbeat.async_wait([this](boost::system::error_code error) {
        if (!error) {
            m_hub.Heartbeat();
            Heartbeat();
        }
    });
}

void LineService::FindRecords(const RecordQuery& query,
                              std::function<void(StoreResult<std::string>)> done) {
    m_worker.Post([this, query, done = std::move(done)] {
        StoreResult<std::string> found = m_reader.Records(query);
        net::post(m_io, [done, found = std::move(found)]() mutable { done(std::move(found)); });
    });
}
