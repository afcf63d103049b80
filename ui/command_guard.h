#pragma once

#include <cstddef>
#include <deque>
#include <functional>

// One command at a time. A command (a click, a menu choice, or the Write an arriving module
// starts) can open message boxes, and a box's loop keeps delivering port arrivals. A Write
// started there would run inside the open command and share its frames: the outer Write would
// finish with the inner module's identity and two modules would get the same MAC address.
// So while a command runs, the Write of an arriving port waits in a queue, in order of
// arrival, and the queued Writes run one after another once the outermost command has ended.
class CommandGuard {
  public:
    // Runs the Write for the port COM`portNumber`.
    using QueuedWriteRunner = std::function<void(int portNumber)>;

    explicit CommandGuard(QueuedWriteRunner runQueuedWrite)
        : m_runQueuedWrite(std::move(runQueuedWrite)) {}

    // A command running for the scope's lifetime. When the outermost one ends, the queued
    // Writes run, each again as a running command.
    class Scope {
      public:
        explicit Scope(CommandGuard& guard) : m_guard(guard) { ++m_guard.m_depth; }
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

      private:
        CommandGuard& m_guard;
    };

    [[nodiscard]] bool Running() const { return m_depth > 0; }
    // Queues the Write for COM`portNumber` unless one for that port already waits.
    void QueueWrite(int portNumber);
    // The port went away before its turn: its queued Write is dropped.
    void DropQueuedWrite(int portNumber);
    [[nodiscard]] std::size_t QueuedWrites() const { return m_queue.size(); }
    // Empties the queue without running anything.
    void DropAll() { m_queue.clear(); }

  private:
    void RunQueuedWrites();

    QueuedWriteRunner m_runQueuedWrite;
    int m_depth = 0;
    std::deque<int> m_queue;
};
