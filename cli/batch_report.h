#pragma once

#include <chrono>
#include <cstdint>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "cli/exit_codes.h"
#include "cli/live_lines.h"
#include "cli/output.h"
#include "station/port_batch.h"

// What a batch run tells: one result per module (as lines, JSON lines, or live lines on a
// terminal), the ports coming and going in a watch, and the closing summary. The worst
// outcome of the run is its exit code.
class BatchReport {
  public:
    // `live` may be null (no terminal); it must outlive the report.
    BatchReport(Output& out, LiveLines* live, bool verify);

    // From the programming threads, one at a time (PortBatch calls its listener so).
    void OnBatchEvent(const BatchEvent& event);
    // A port plugged in ("add") or pulled out ("remove") during a watch.
    void PortChanged(const std::string& action, const std::string& device);
    // A command-line mistake found while running (a port named twice).
    void Refused(const std::string& message);
    // Redraws the live lines, if any.
    void Tick();
    // The closing summary; then nothing else is told.
    void Finish();

    [[nodiscard]] ExitCode Worst() const;

  private:
    void TookMac(const MacAddress& mac);
    void Finished(const BatchEvent& event);
    void Failed(const JsonObject& event, const std::string& text, ExitCode code);

    Output& m_out;
    LiveLines* m_live;
    const bool m_verify;
    const std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();

    mutable std::mutex m_mutex;
    int m_programmed = 0;
    int m_failed = 0;
    ExitCode m_worst = ExitCode::Success;
    std::set<std::string> m_warningsShown;
    std::set<std::uint64_t> m_unusedMacs;    // given back by a module, not taken again
    std::optional<std::uint64_t> m_nextMac;  // one past the highest MAC taken
    std::vector<std::string> m_heldLines;    // for standard error, below the live lines at the end
};
