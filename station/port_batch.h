#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <list>
#include <mutex>
#include <set>
#include <string>
#include <thread>

// Runs one job per port, each on a thread of its own, many ports at once. A port runs one
// job at a time: a Start for a port still busy is refused (a port listed twice) or, in a
// watch, queued until the port is free (a module plugged in where one was just pulled out,
// before its job has ended). The batch waits for every thread when it goes, and joins finished
// threads as it goes along, so a long watch keeps no dead threads.
class PortBatch {
  public:
    // What is done for the module on a port, on the port's thread.
    using Job = std::function<void(const std::string& port)>;

    explicit PortBatch(Job job);
    ~PortBatch();
    PortBatch(const PortBatch&) = delete;
    PortBatch& operator=(const PortBatch&) = delete;

    enum class WhenBusy { Refuse, Queue };

    // Starts the job for `port`. When that port's job is still running: false with Refuse;
    // with Queue, true, and the job runs again once the port is free.
    bool Start(const std::string& port, WhenBusy whenBusy = WhenBusy::Refuse);
    // Drops a queued start of `port` (its module was pulled out before its turn).
    void Forget(const std::string& port);
    // Waits up to `timeout` for every started job to finish; true when none is running.
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
    void Run(Worker& worker);
    void JoinFinished(std::unique_lock<std::mutex>& lock);

    const Job m_job;

    mutable std::mutex m_mutex;
    std::condition_variable m_finished;
    std::list<Worker> m_workers;
    std::set<std::string> m_busy;    // ports with a running job
    std::set<std::string> m_queued;  // busy ports to program again once free
    std::size_t m_running = 0;
};
