#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The Server-Sent Events of one run of the server, each with an id, and the latest of them
// kept so that a viewer who reconnects with the id it saw last gets exactly what it missed.
// Ids are "<run>-<number>": an id of another run, or one too old to be kept, asks the viewer
// to resynchronise instead.
class EventLog {
  public:
    using Frame = std::shared_ptr<const std::string>;

    EventLog(std::string run, std::size_t kept);

    // Adds an event of `type` with one line of `data`; its whole frame, ready to send.
    Frame Publish(std::string_view type, std::string_view data);
    // The frame that starts a stream: the latest id, with the event type `type`.
    [[nodiscard]] Frame Marker(std::string_view type) const;
    // The frames after the event `lastId`, oldest first; nothing when they are not all kept.
    [[nodiscard]] std::optional<std::vector<Frame>> After(std::string_view lastId) const;

  private:
    [[nodiscard]] std::string IdOf(std::uint64_t number) const;

    std::string m_run;
    std::size_t m_kept;
    std::uint64_t m_latest = 0;
    std::deque<Frame> m_frames;  // the latest m_kept, ending with m_latest
};
