#pragma once

#include <string>

#include "link/unique_fd.h"

// The writing end of a FIFO that a program under test reads its arrivals from. Opening waits
// for the program to open its end, but only for a while: a program that ended early fails the
// test instead of hanging it.
class FifoFeed {
  public:
    explicit FifoFeed(const std::string& path);

    [[nodiscard]] bool Opened() const { return m_fd.IsValid(); }
    // Writes `line` and a newline; false when the reader has gone.
    bool Line(const std::string& line);
    // Closes the writing end: the reader sees the end of its arrivals.
    void Close() { m_fd.Reset(); }

  private:
    UniqueFd m_fd;
};
