#include "ui/command_guard.h"

#include <algorithm>

CommandGuard::Scope::~Scope() {
    --m_guard.m_depth;
    if (m_guard.m_depth == 0) {
        m_guard.RunQueuedWrites();
    }
}

void CommandGuard::QueueWrite(int portNumber) {
    if (std::find(m_queue.begin(), m_queue.end(), portNumber) == m_queue.end()) {
        m_queue.push_back(portNumber);
    }
}

void CommandGuard::DropQueuedWrite(int portNumber) {
    std::erase(m_queue, portNumber);
}

// Each queued Write counts as a running command while it runs, so arrivals during its boxes
// join the end of the queue and this loop picks them up in turn.
void CommandGuard::RunQueuedWrites() {
    while (!m_queue.empty()) {
        const int portNumber = m_queue.front();
        m_queue.pop_front();
        ++m_depth;
        m_runQueuedWrite(portNumber);
        --m_depth;
    }
}
