#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <unordered_map>

#include "line/event_log.h"

// One open /api/events stream.
class EventViewer {
  public:
    virtual ~EventViewer() = default;
    // Queues a frame; never waits for the viewer.
    virtual void Send(EventLog::Frame frame) = 0;
};

// The viewers of the event stream and what they are sent. Lives on the thread that serves
// the page: a viewer costs a queued frame per event, never a thread.
class EventHub {
  public:
    EventHub(EventLog& log, std::size_t maxViewers) : m_log(log), m_maxViewers(maxViewers) {}

    [[nodiscard]] bool Full() const { return m_viewers.size() >= m_maxViewers; }
    [[nodiscard]] std::size_t Viewers() const { return m_viewers.size(); }

    // Starts a viewer's stream: what it missed since `lastEventId`, a "resync" event when
    // that cannot be told, or a "hello" with the latest id for a new viewer.
    void Join(const std::shared_ptr<EventViewer>& viewer, std::string_view lastEventId);
    void Leave(const EventViewer* viewer);

    void Publish(std::string_view type, std::string_view data);
    // A comment line that keeps proxies and the browser from taking the stream for dead.
    void Heartbeat();

  private:
    EventLog& m_log;
    std::size_t m_maxViewers;
    std::unordered_map<const EventViewer*, std::shared_ptr<EventViewer>> m_viewers;
};
