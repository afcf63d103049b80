#pragma once

#include <signal.h>

#include "link/unique_fd.h"

// Holds off SIGINT, SIGTERM and SIGHUP (its terminal closed) for as long as it lives, for the
// calling thread and every thread
// it starts meanwhile, and gives them as a readable descriptor, so that an interrupt lets the
// modules being programmed finish and the run report. Once it is gone, a further interrupt
// stops the program at once, as usual.
class StopSignals {
  public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // Readable when a stop signal waits; -1 when none could be made.
    [[nodiscard]] int Descriptor() const { return m_fd.Get(); }
    // Takes the waiting stop signals, if any; true when there was one. Never blocks. A signal
    // not taken would end the program when the mask is restored.
    bool Take();

  private:
    sigset_t m_signals{};
    sigset_t m_previous{};
    UniqueFd m_fd;
};
