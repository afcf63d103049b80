#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "link/unique_fd.h"

// The line settings of every session, in the form the dialog leaves in its text scratch once a
// port is open.
inline constexpr char kLineModeText[] = "baud=115200 parity=N data=8 stop=1";

// How an attempt to open a session ended. Callers that only need Opened or not compare with
// Opened; the other values say why, for a user to act on.
enum class OpenOutcome {
    Opened,
    Missing,           // no such device or file (also the empty name); the adapter is gone
    Busy,              // held by another session of ours or another program (lock, exclusive)
    PermissionDenied,  // the device exists, but this user may not open it
    NotATerminal,      // no line settings: a file, a directory, anything but a serial port
    SettingsRejected,  // the driver refused exclusive mode or the line settings
    Unopenable,        // the open was refused for another reason
};

[[nodiscard]] const char* OpenOutcomeName(OpenOutcome outcome);

// How SerialSession::Open would end on `path` now, found without taking or changing the port:
// the device is opened, locked and its line settings read, then it is let go again. Neither
// the line settings nor the queues are touched (the open may pulse the modem lines of a port
// nobody has open, as any open does). Opened means free. `error` gets the system's
// error of the failed step, 0 when none failed. A program that holds the port without a lock
// or exclusive mode (a terminal login, a shell's redirection) goes unseen.
[[nodiscard]] OpenOutcome ProbePort(const std::string& path, int& error);
[[nodiscard]] OpenOutcome ProbePort(const std::string& path);

// One exchange's hold on a serial port: raw 115200 8N1 without flow control, exclusive, both
// queues emptied at the start. Opening never blocks on carrier. The port is freed when the
// session is closed or destroyed, on every path. Where the driver has the flag, the port runs
// in low-latency mode while the session is open. Move-only.
//
// Reads follow the limits of link/read_limits.h; writes have no time limit.
class SerialSession {
  public:
    SerialSession() = default;
    ~SerialSession();
    SerialSession(SerialSession&& other) noexcept = default;
    SerialSession& operator=(SerialSession&& other) noexcept;
    SerialSession(const SerialSession&) = delete;
    SerialSession& operator=(const SerialSession&) = delete;

    // Opens the device at `path` exactly as given (see link/port_names.h for turning a port
    // box text into a path). An open session is closed first. On any failure nothing stays
    // open.
    [[nodiscard]] OpenOutcome Open(const std::string& path);
    [[nodiscard]] bool IsOpen() const { return m_fd.IsValid(); }
    // The system's error number of the step that failed the last Open, 0 after success.
    [[nodiscard]] int LastOpenError() const { return m_lastOpenError; }
    // Gives up exclusive mode and the lock and closes the port. Harmless when not open.
    void Close();

    // Hands all of `bytes` to the driver, waiting as long as it takes. false when the session
    // is not open or the port fails (for example when the adapter is gone). `sent` counts the
    // bytes handed over, also when the write fails.
    [[nodiscard]] bool Write(std::span<const std::uint8_t> bytes, std::size_t& sent);
    [[nodiscard]] bool Write(std::span<const std::uint8_t> bytes);
    // Waits until the bytes written have left the port, at most `limit`. false on timeout or
    // when the session is not open.
    [[nodiscard]] bool Drain(std::chrono::milliseconds limit);

    // Reads up to buffer.size() bytes into `buffer` within the read limits; `received` gets
    // the number that arrived, 0 included, also on failure. false only when the port itself
    // fails or hangs up (an adapter pulled mid-answer): a failed read, never a short one.
    [[nodiscard]] bool Read(std::span<std::uint8_t> buffer, std::size_t& received);
    // The same with a total limit of its own instead of 50 ms plus 1 ms per byte.
    [[nodiscard]] bool Read(std::span<std::uint8_t> buffer, std::size_t& received,
                            std::chrono::milliseconds totalLimit);
    // Drops whatever has arrived and not been read (a late answer to an earlier request).
    void DiscardInput();

  private:
    [[nodiscard]] OpenOutcome Fail(OpenOutcome outcome, int error);

    UniqueFd m_fd;
    int m_lastOpenError = 0;
    // The driver flags to put back at close, when the session switched on low latency.
    std::optional<int> m_serialFlagsBefore;
};
