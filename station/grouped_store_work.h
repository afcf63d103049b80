#pragma once

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <vector>

// The store work of many programming threads, done in groups: while one group's transaction
// runs, the requests of the other threads gather, and the next of them does the work of all in
// one transaction. A thread waits for its own result only. 64 modules no longer queue behind
// 64 transactions (or 64 disk waits, for reservations); each one's work is still done, and
// committed, before its call returns.
//
// A group may also wait a little for the threads expected to ask soon (modules being read
// that will want a MAC), so that modules started together share one group.
template <class Request, class Result>
class GroupedStoreWork {
  public:
    // Does the work of a group: one result per request, in their order.
    using Work = std::function<std::vector<Result>(const std::vector<Request>&)>;

    // How long a group waits at most for the threads still expected: a module read at the line
    // rate takes 45 ms, so those started together finish within a few ms of each other.
    static constexpr std::chrono::milliseconds kGatherLimit{20};

    explicit GroupedStoreWork(Work work) : m_work(std::move(work)) {}

    // A thread is expected to ask soon; each such is later Done() or Forgone.
    void Expect() {
        const std::lock_guard lock(m_mutex);
        ++m_expected;
    }
    void Forgo() {
        const std::lock_guard lock(m_mutex);
        m_expected = std::max(0, m_expected - 1);
        m_arrived.notify_one();
    }

    // Has `request` done in the next group and gives its result.
    [[nodiscard]] Result Done(Request request) {
        Waiter me{std::move(request), false, {}};
        std::unique_lock lock(m_mutex);
        m_expected = std::max(0, m_expected - 1);
        m_waiting.push_back(&me);
        m_arrived.notify_one();  // a group gathering may have waited for this one
        while (!me.done) {
            if (m_working) {
                m_finished.wait(lock);
            } else {
                WorkForWaiting(lock);
            }
        }
        return std::move(me.result);
    }

  private:
    struct Waiter {
        Request request;
        bool done = false;
        Result result;
    };

    // Under m_mutex on entry and return; the work is done without it.
    void WorkForWaiting(std::unique_lock<std::mutex>& lock) {
        m_working = true;
        (void)m_arrived.wait_for(lock, kGatherLimit, [this] { return m_expected == 0; });
        std::vector<Waiter*> group(m_waiting.begin(), m_waiting.end());
        m_waiting.clear();
        std::vector<Request> requests;
        for (const Waiter* waiter : group) {
            requests.push_back(waiter->request);
        }
        lock.unlock();
        std::vector<Result> results = m_work(requests);
        lock.lock();
        for (std::size_t i = 0; i < group.size(); ++i) {
            group[i]->result = std::move(results.at(i));
            group[i]->done = true;
        }
        m_working = false;
        m_finished.notify_all();
    }

    const Work m_work;
    std::mutex m_mutex;
    // Only the thread gathering a group waits for arrivals; the others wait for a group to end,
    // so an arrival wakes one thread, not all.
    std::condition_variable m_arrived;
    std::condition_variable m_finished;
    std::deque<Waiter*> m_waiting;
    int m_expected = 0;
    bool m_working = false;
};
