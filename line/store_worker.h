#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

// One thread that runs the store's queries in turn, so that no query holds the thread that
// serves the page and its viewers. A store serves one thread at a time: this is that thread.
class StoreWorker {
  public:
    StoreWorker();
    // Runs what was posted before, then ends the thread.
    ~StoreWorker();
    StoreWorker(const StoreWorker&) = delete;
    StoreWorker& operator=(const StoreWorker&) = delete;

    void Post(std::function<void()> task);

  private:
    void Run();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::function<void()>> m_tasks;
    bool m_stopping = false;
    std::thread m_thread;
};
