#include "line/event_hub.h"

void EventHub::Join(const std::shared_ptr<EventViewer>& viewer, std::string_view lastEventId) {
    m_viewers.emplace(viewer.get(), viewer);
    if (lastEventId.empty()) {
        viewer->Send(m_log.Marker("hello"));
        return;
    }
    const auto missed = m_log.After(lastEventId);
    if (!missed) {
        viewer->Send(m_log.Marker("resync"));
        return;
    }
    for (const EventLog::Frame& frame : *missed) {
        viewer->Send(frame);
    }
}

void EventHub::Leave(const EventViewer* viewer) {
    m_viewers.erase(viewer);
}

void EventHub::Publish(std::string_view type, std::string_view data) {
    const EventLog::Frame frame = m_log.Publish(type, data);
    // A viewer may leave while it is sent to (its queue overflowed).
    const auto viewers = m_viewers;
    for (const auto& [key, viewer] : viewers) {
        viewer->Send(frame);
    }
}

void EventHub::Heartbeat() {
    static const auto kHeartbeat = std::make_shared<const std::string>(": heartbeat\n\n");
    const auto viewers = m_viewers;
    for (const auto& [key, viewer] : viewers) {
        viewer->Send(kHeartbeat);
    }
}
