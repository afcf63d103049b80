#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "link/unique_fd.h"
#include "model/config_frame.h"
#include "tools/module_sim/misbehaviour.h"
#include "tools/module_sim/module_identity.h"

// How fast the module's answers go out: all at once, or byte by byte at the line rate of
// 115200 bit/s with 10 bits per byte (86.8 us per byte), as a real module sends them.
enum class Pacing { AtOnce, LineRate };

enum class RequestKind { Read, Write };

struct SimulatedModuleOptions {
    ModuleIdentity identity;
    Pacing pacing = Pacing::AtOnce;
    // The gap of PauseMidAnswer; longer than the reader's quiet limit.
    std::chrono::milliseconds pause{100};
    // How late StoreLateAck answers; longer than the configuration window's 54 ms.
    std::chrono::milliseconds ackDelay{100};
};

// A radio module at the far end of a pseudo-terminal. Open the path PortPath() names as the
// module's serial port. It answers "ATR0" with its stored frame and a sealed 518-byte "ATW0"
// frame with "ATOK", storing the block; a frame with a wrong magic or CRC gets "ATER" and is
// not stored. Bytes that start no request are dropped, and a request left incomplete for
// kIncompleteRequestLimit is dropped. A background thread answers; every member function is
// safe to call from any thread.
class SimulatedModule {
  public:
    static constexpr std::chrono::milliseconds kIncompleteRequestLimit{200};

    explicit SimulatedModule(SimulatedModuleOptions options = {});
    ~SimulatedModule();
    SimulatedModule(const SimulatedModule&) = delete;
    SimulatedModule& operator=(const SimulatedModule&) = delete;

    // Opens the pseudo-terminal and starts answering. false when no pseudo-terminal can be had.
    [[nodiscard]] bool Start();
    // Stops answering and closes the pseudo-terminal; the path goes away.
    void Stop();
    // The slave side, e.g. "/dev/pts/3"; empty before Start.
    [[nodiscard]] const std::string& PortPath() const { return m_portPath; }

    // Misbehave on every request until MisbehaveAlways(Misbehaviour::None).
    void MisbehaveAlways(Misbehaviour misbehaviour);
    // Misbehave on the next request of any kind only.
    void MisbehaveOnce(Misbehaviour misbehaviour);
    // Misbehave on the next request of `kind` only. Takes precedence over the two above.
    void MisbehaveOnce(RequestKind kind, Misbehaviour misbehaviour);

    [[nodiscard]] ConfigFrame StoredFrame() const;
    void SetStoredFrame(const ConfigFrame& frame);
    // The last complete "ATW0" frame received, valid or not.
    [[nodiscard]] std::optional<ConfigFrame> LastWrittenFrame() const;

    [[nodiscard]] int ReadRequests() const;
    [[nodiscard]] int WriteRequests() const;
    // Waits until `count` requests have been answered completely (a silent answer counts when
    // the module decided to stay silent). false on timeout.
    [[nodiscard]] bool WaitForAnswers(int count, std::chrono::milliseconds timeout) const;
    // true once VanishMidAnswer has taken the module away.
    [[nodiscard]] bool Vanished() const;

  private:
    void Run();
    void TakeInput(std::vector<std::uint8_t>& inbox);
    void AnswerRead();
    void AnswerWrite(std::span<const std::uint8_t> request);
    [[nodiscard]] Misbehaviour TakeMisbehaviour(RequestKind kind);
    void Deliver(std::span<const std::uint8_t> answer, Misbehaviour misbehaviour);
    void Send(std::span<const std::uint8_t> bytes);
    void Vanish();
    void CountAnswer();

    const SimulatedModuleOptions m_options;
    std::string m_portPath;
    UniqueFd m_master;
    // The module keeps the slave side open itself, so the master never sees a hangup while
    // no session is open.
    UniqueFd m_slaveHold;
    UniqueFd m_wakeRead;
    UniqueFd m_wakeWrite;
    std::thread m_thread;

    mutable std::mutex m_mutex;
    mutable std::condition_variable m_answered;
    ConfigFrame m_stored;
    std::optional<ConfigFrame> m_lastWritten;
    Misbehaviour m_always = Misbehaviour::None;
    std::optional<Misbehaviour> m_nextAny;
    std::optional<Misbehaviour> m_nextRead;
    std::optional<Misbehaviour> m_nextWrite;
    int m_readRequests = 0;
    int m_writeRequests = 0;
    int m_answers = 0;
    bool m_vanished = false;
};
