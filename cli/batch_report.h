#pragma once

#include <chrono>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "cli/exit_codes.h"
#include "cli/live_lines.h"
#include "cli/output.h"
#include "cli/station_db.h"
#include "station/production_run.h"
#include "station/run_figures.h"

// What a batch run tells: one result per module (as lines, JSON lines, or live lines on a
// terminal), the ports coming and going in a watch, and the closing summary. The worst
// outcome of the run is its exit code.
class BatchReport {
  public:
    // `live` may be null (no terminal); it must outlive the report. `fromPool`: the run takes
    // its MACs from the pool, not from a start MAC.
    BatchReport(Output& out, LiveLines* live, bool verify, bool fromPool,
                const StationDbOptions& store);

    // From the programming threads, several at a time.
    void OnRunEvent(const RunEvent& event);
    // A port plugged in ("add") or pulled out ("remove") during a watch.
    void PortChanged(const std::string& action, const std::string& device);
    // A command-line mistake found while running (a port named twice).
    void Refused(const std::string& message);
    // Redraws the live lines, if any.
    void Tick();
    // The closing summary; then nothing else is told.
    void Finish(const RunSummary& summary);

    [[nodiscard]] ExitCode Worst() const;

  private:
    void Ended(const RunEvent& event);
    void ShowWarnings(const std::vector<std::string>& warnings);
    void Hold(const std::string& line);
    [[nodiscard]] std::string PaceText(std::int64_t nowMs) const;

    Output& m_out;
    LiveLines* m_live;
    const bool m_verify;
    const bool m_fromPool;
    const StationDbOptions& m_store;

    mutable std::mutex m_mutex;
    ExitCode m_worst = ExitCode::Success;
    RunFigures m_figures;
    bool m_storeFailureTold = false;
    std::set<std::string> m_warningsShown;
    std::vector<std::string> m_heldLines;  // for standard error, below the live lines at the end
};
