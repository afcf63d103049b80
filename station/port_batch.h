#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <list>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>

#include "model/config_settings.h"
#include "model/mac_address.h"
#include "station/mac_source.h"
#include "station/windowless_program.h"

class AnnouncedPorts;

enum class BatchEventKind {
    Started,    // a MAC was taken for the port; the module is being read
    Stage,      // programming moved on to `stage`
    Finished,   // `result` tells how it ended
    NoMacLeft,  // the MAC source had no address: the module was not touched
};

// What a batch tells its front end about one port. `result` is set for Finished only and
// lives for the duration of the call.
struct BatchEvent {
    BatchEventKind kind = BatchEventKind::Started;
    std::string port;
    std::optional<MacAddress> mac;
    ProgramStage stage = ProgramStage::Reading;
    const ModuleJobResult* result = nullptr;
};

// Programs many modules at once, one thread per port, each exactly as a windowless Write
// with the same settings (see ProgramModuleWindowless). Each module takes its MAC from the
// source before it is touched; a module that did not take the frame (no acknowledgement)
// gives it back, and one that acknowledged keeps it used, verified or not.
//
// Events reach the listener from the programming threads, one at a time (never two calls at
// once). A port is programmed by one thread at a time: a Start for a port still busy is
// refused (a port listed twice) or, in a watch, queued until the port is free (a module
// plugged in where one was just pulled out, before its job has ended). The batch waits for
// every thread when it goes, and joins finished threads as it goes along, so a long watch
// keeps no dead threads.
class PortBatch {
  public:
    using Listener = std::function<void(const BatchEvent&)>;

    // `announced` resolves COMn texts and must not change while the batch runs; `macs` and
    // `announced` must outlive the batch.
    PortBatch(ConfigSettings settings, bool verify, MacSource& macs,
              const AnnouncedPorts& announced, Listener listener);
    ~PortBatch();
    PortBatch(const PortBatch&) = delete;
    PortBatch& operator=(const PortBatch&) = delete;

    enum class WhenBusy { Refuse, Queue };

    // Starts programming the module on `port`. When that port is still being programmed: false
    // with Refuse; with Queue, true, and the port is programmed again once it is free.
    bool Start(const std::string& port, WhenBusy whenBusy = WhenBusy::Refuse);
    // Drops a queued start of `port` (its module was pulled out before its turn).
    void Forget(const std::string& port);
    // Waits up to `timeout` for every started port to finish; true when none is running.
    [[nodiscard]] bool WaitFor(std::chrono::milliseconds timeout);
    // Waits until every started port has finished.
    void Wait();
    [[nodiscard]] std::size_t Running() const;

  private:
    struct Worker {
        std::string port;
        std::thread thread;
        bool done = false;
    };

    void Launch(const std::string& port);
    void Program(Worker& worker);
    void Tell(const BatchEvent& event);
    void JoinFinished(std::unique_lock<std::mutex>& lock);

    const ConfigSettings m_settings;
    const bool m_verify;
    MacSource& m_macs;
    const AnnouncedPorts& m_announced;
    Listener m_listener;

    mutable std::mutex m_mutex;
    std::condition_variable m_finished;
    std::list<Worker> m_workers;
    std::set<std::string> m_busy;    // ports with a running job
    std::set<std::string> m_queued;  // busy ports to program again once free
    std::size_t m_running = 0;
    std::mutex m_listenerMutex;
};
