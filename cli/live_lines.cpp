#include "cli/live_lines.h"

#include <algorithm>

namespace {

const char* ToneColour(LiveLines::Tone tone) {
    switch (tone) {
        case LiveLines::Tone::Good:
            return "\x1b[32m";
        case LiveLines::Tone::Bad:
            return "\x1b[31m";
        case LiveLines::Tone::Busy:
            break;
    }
    return "\x1b[33m";
}

constexpr const char* kColourOff = "\x1b[0m";

}  // namespace

void LiveLines::Set(const std::string& port, const std::string& state, const std::string& mac,
                    Tone tone, bool finished) {
    const std::lock_guard lock(m_mutex);
    const auto now = std::chrono::steady_clock::now();
    auto row =
        std::find_if(m_rows.begin(), m_rows.end(), [&](const Row& r) { return r.port == port; });
    if (row == m_rows.end()) {
        row = m_rows.insert(m_rows.end(), Row{port, {}, {}, tone, now, now, false});
    } else if (row->finished && !finished) {
        row->started = now;  // the same port again (a new module in a watch)
    }
    row->state = state;
    row->mac = mac;
    row->tone = tone;
    row->finished = finished;
    if (finished) {
        row->ended = now;
    }
}

std::string LiveLines::RowText(const Row& row) const {
    const auto end = row.finished ? row.ended : std::chrono::steady_clock::now();
    const double seconds = std::chrono::duration<double>(end - row.started).count();
    char elapsed[32];
    std::snprintf(elapsed, sizeof elapsed, "%6.1fs", seconds);
    return row.port + "  " + ToneColour(row.tone) + row.state + kColourOff + "  " + row.mac + "  " +
           elapsed;
}

void LiveLines::Redraw() {
    const std::lock_guard lock(m_mutex);
    if (m_drawn > 0) {
        std::fprintf(m_terminal, "\x1b[%zuA", m_drawn);  // back to the first line drawn
    }
    for (const Row& row : m_rows) {
        std::fprintf(m_terminal, "\r\x1b[2K%s\n", RowText(row).c_str());
    }
    m_drawn = m_rows.size();
    std::fflush(m_terminal);
}
