#include "line/event_log.h"

#include <charconv>

namespace {

std::string FrameText(const std::string& id, std::string_view type, std::string_view data) {
    std::string frame = "id: " + id + "\nevent: ";
    frame.append(type);
    frame += "\ndata: ";
    frame.append(data);
    frame += "\n\n";
    return frame;
}

}  // namespace

EventLog::EventLog(std::string run, std::size_t kept) : m_run(std::move(run)), m_kept(kept) {}

std::string EventLog::IdOf(std::uint64_t number) const {
    return m_run + "-" + std::to_string(number);
}

EventLog::Frame EventLog::Publish(std::string_view type, std::string_view data) {
    auto frame = std::make_shared<const std::string>(FrameText(IdOf(++m_latest), type, data));
    m_frames.push_back(frame);
    if (m_frames.size() > m_kept) {
        m_frames.pop_front();
    }
    return frame;
}

EventLog::Frame EventLog::Marker(std::string_view type) const {
    return std::make_shared<const std::string>(FrameText(IdOf(m_latest), type, "{}"));
}

std::optional<std::vector<EventLog::Frame>> EventLog::After(std::string_view lastId) const {
    const std::string prefix = m_run + "-";
    if (lastId.substr(0, prefix.size()) != prefix) {
        return std::nullopt;
    }
    const std::string_view digits = lastId.substr(prefix.size());
    std::uint64_t seen = 0;
    const auto parsed = std::from_chars(digits.data(), digits.data() + digits.size(), seen);
    const std::uint64_t oldest = m_latest - m_frames.size();  // the id before the first kept
    if (parsed.ec != std::errc() || parsed.ptr != digits.data() + digits.size() ||
        seen > m_latest || seen < oldest) {
        return std::nullopt;
    }
    return std::vector<Frame>(m_frames.begin() + static_cast<std::ptrdiff_t>(seen - oldest),
                              m_frames.end());
}
