#pragma once

#include <chrono>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

// One line per port on a terminal, redrawn in place: port, state, MAC and the time since the
// port started. Used only when standard output is a terminal that may carry colour.
class LiveLines {
  public:
    enum class Tone { Busy, Good, Bad };

    explicit LiveLines(std::FILE* terminal) : m_terminal(terminal) {}

    // Sets the state of `port`, adding its line the first time. `finished` stops its clock.
    void Set(const std::string& port, const std::string& state, const std::string& mac, Tone tone,
             bool finished);
    // Draws every line again, over the lines drawn before.
    void Redraw();

  private:
    struct Row {
        std::string port;
        std::string state;
        std::string mac;
        Tone tone = Tone::Busy;
        std::chrono::steady_clock::time_point started;
        std::chrono::steady_clock::time_point ended;
        bool finished = false;
    };

    [[nodiscard]] std::string RowText(const Row& row) const;

    std::FILE* m_terminal;
    std::mutex m_mutex;
    std::vector<Row> m_rows;
    std::size_t m_drawn = 0;
};
