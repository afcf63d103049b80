#include "station/port_batch.h"

#include <utility>

PortBatch::PortBatch(Job job) : m_job(std::move(job)) {}

PortBatch::~PortBatch() {
    Wait();
}

bool PortBatch::Start(const std::string& port, WhenBusy whenBusy) {
    std::unique_lock lock(m_mutex);
    JoinFinished(lock);
    if (m_busy.count(port) != 0) {
        if (whenBusy == WhenBusy::Refuse) {
            return false;
        }
        m_queued.insert(port);
        return true;
    }
    m_busy.insert(port);
    Launch(port);
    return true;
}

void PortBatch::Forget(const std::string& port) {
    const std::lock_guard lock(m_mutex);
    m_queued.erase(port);
}

// Under m_mutex: the thread starts under the lock, so it cannot finish before it is stored.
void PortBatch::Launch(const std::string& port) {
    Worker& worker = m_workers.emplace_back();
    worker.port = port;
    ++m_running;
    worker.thread = std::thread([this, &worker] { Run(worker); });
}

bool PortBatch::WaitFor(std::chrono::milliseconds timeout) {
    std::unique_lock lock(m_mutex);
    const bool idle = m_finished.wait_for(lock, timeout, [this] { return m_running == 0; });
    JoinFinished(lock);
    return idle;
}

void PortBatch::Wait() {
    std::unique_lock lock(m_mutex);
    m_finished.wait(lock, [this] { return m_running == 0; });
    JoinFinished(lock);
}

std::size_t PortBatch::Running() const {
    const std::lock_guard lock(m_mutex);
    return m_running;
}

void PortBatch::JoinFinished(std::unique_lock<std::mutex>& lock) {
    std::list<Worker> finished;
    for (auto it = m_workers.begin(); it != m_workers.end();) {
        const auto next = std::next(it);
        if (it->done) {
            finished.splice(finished.end(), m_workers, it);
        }
        it = next;
    }
    // A finished worker may still be returning from its thread function: join outside the lock.
    lock.unlock();
    for (Worker& worker : finished) {
        worker.thread.join();
    }
    lock.lock();
}

void PortBatch::Run(Worker& worker) {
    m_job(worker.port);
    const std::lock_guard lock(m_mutex);
    worker.done = true;
    if (m_queued.erase(worker.port) != 0) {
        Launch(worker.port);  // still busy: the next module on the port goes on at once
    } else {
        m_busy.erase(worker.port);
    }
    --m_running;
    m_finished.notify_all();
}
