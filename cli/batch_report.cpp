#include "cli/batch_report.h"

#include <cmath>
#include <limits>

#include "cli/module_report.h"
#include "store/iso_time.h"

namespace {

std::string MacText(const std::optional<MacAddress>& mac) {
    return mac ? FormatMacAddress(*mac) : std::string("-");
}

const char* StageText(ProgramStage stage) {
    switch (stage) {
        case ProgramStage::Writing:
            return "writing";
        case ProgramStage::Verifying:
            return "verifying";
        case ProgramStage::Reading:
            break;
    }
    return "reading";
}

// The live line of an ended attempt: its word, the MAC a module holds by it, and its tone.
struct LiveEnd {
    std::string state;
    std::optional<MacAddress> mac;
    LiveLines::Tone tone;
};

LiveEnd LiveEndOf(const AttemptResult& result, bool verify) {
    switch (result.outcome) {
        case ModuleOutcome::Succeeded:
            return {verify || result.acknowledgementLost ? "written, verified" : "written",
                    MacOfFrame(result.sent), LiveLines::Tone::Good};
        case ModuleOutcome::AlreadyProgrammed:
            return {"already programmed", MacOfFrame(result.moduleFrame), LiveLines::Tone::Good};
        case ModuleOutcome::OrderComplete:
            return {"not needed: order complete", std::nullopt, LiveLines::Tone::Good};
        default:
            break;
    }
    const ModuleFailure failure = FailureOfAttempt("", result);
    return {"failed: " + FailureMessage(failure), failure.mac, LiveLines::Tone::Bad};
}

std::string Counted(int count, const char* what) {
    return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

JsonObject MacList(const std::vector<MacAddress>& macs, std::string& text) {
    JsonObject list = JsonObject::array();
    for (const MacAddress& mac : macs) {
        list.push_back(FormatMacAddress(mac));
        text += " " + list.back().get<std::string>();
    }
    return list;
}

}  // namespace

BatchReport::BatchReport(Output& out, LiveLines* live, bool verify, bool fromPool,
                         const StationDbOptions& store)
    : m_out(out), m_live(live), m_verify(verify), m_fromPool(fromPool), m_store(store) {
    m_figures.Began(StoreClockNow());
}

void BatchReport::OnRunEvent(const RunEvent& event) {
    switch (event.kind) {
        case RunEventKind::Started:
        case RunEventKind::Stage:
            if (m_live != nullptr) {
                m_live->Set(event.port, StageText(event.stage), "-", LiveLines::Tone::Busy, false);
            }
            return;
        case RunEventKind::Ended:
            Ended(event);
            return;
        case RunEventKind::OrderComplete:
            return;  // told once, at the end of the batch
    }
}

void BatchReport::Ended(const RunEvent& event) {
    const AttemptResult& result = *event.result;
    ShowWarnings(result.warnings);
    if (!event.kept->Ok()) {
        const std::lock_guard lock(m_mutex);
        m_worst = Worse(m_worst, ExitCode::StoreFailed);
        if (!std::exchange(m_storeFailureTold, true)) {
            // Told once: every later module meets the same failure.
            ReportStoreFailure(m_out, m_store, *event.kept);
        }
    }
    ExitCode code = ExitCodeOfOutcome(result.outcome);
    if (m_live != nullptr) {
        const LiveEnd end = LiveEndOf(result, m_verify);
        m_live->Set(event.port, end.state, MacText(end.mac), end.tone, true);
        if (end.tone == LiveLines::Tone::Bad) {
            Hold("lvcfg-cli: " + FailureText(FailureOfAttempt(event.port, result)));
        }
    } else {
        code = ReportAttempt(m_out, event.port, result, m_verify);
    }
    const std::lock_guard lock(m_mutex);
    m_worst = Worse(m_worst, code);
    m_figures.Add(*event.record);
}

// Every module of a batch gets the same build, so each warning is shown once.
void BatchReport::ShowWarnings(const std::vector<std::string>& warnings) {
    for (const std::string& warning : warnings) {
        {
            const std::lock_guard lock(m_mutex);
            if (!m_warningsShown.insert(warning).second) {
                continue;
            }
        }
        if (m_live != nullptr) {
            Hold(warning);
        } else {
            m_out.Note(warning);
        }
    }
}

void BatchReport::Hold(const std::string& line) {
    const std::lock_guard lock(m_mutex);
    m_heldLines.push_back(line);
}

void BatchReport::PortChanged(const std::string& action, const std::string& device) {
    if (m_live != nullptr) {
        return;  // the live lines show the ports themselves
    }
    m_out.Result({{"event", "port"}, {"action", action}, {"device", device}},
                 device + (action == "add" ? ": plugged in" : ": pulled out"));
}

void BatchReport::Refused(const std::string& message) {
    {
        const std::lock_guard lock(m_mutex);
        m_worst = Worse(m_worst, ExitCode::Usage);
    }
    m_out.Failed("usage", message);
}

void BatchReport::Tick() {
    if (m_live != nullptr) {
        m_live->Redraw();
    }
}

void BatchReport::Finish(const RunSummary& summary) {
    Tick();
    const std::lock_guard lock(m_mutex);
    for (const std::string& line : m_heldLines) {
        m_out.Note(line);
    }
    const std::int64_t now = StoreClockNow();
    const std::string pace = PaceText(now);
    const std::optional<double> perHour =
        m_figures.ModulesPerHour(now, std::numeric_limits<std::int64_t>::max());
    std::string unusedText;
    std::string suspectText;
    const JsonObject unused = MacList(summary.unusedMacs, unusedText);
    const JsonObject suspect = MacList(summary.suspectMacs, suspectText);
    const JsonObject next =
        summary.nextMac ? JsonObject(FormatMacAddress(*summary.nextMac)) : JsonObject();
    const int noMac = m_figures.NoMac();
    std::string text = "programmed " + Counted(m_figures.Modules(), "module") + " in " +
                       Counted(m_figures.Attempts(), "attempt") + ", already programmed " +
                       std::to_string(m_figures.AlreadyProgrammed()) + ", failed " +
                       std::to_string(m_figures.Failed()) + "; " + pace;
    if (m_figures.NotNeeded() > 0) {
        text += "; " + std::to_string(m_figures.NotNeeded()) + " not needed by the order";
    }
    if (noMac > 0) {
        text += "; " + std::to_string(noMac) + " not programmed for lack of a MAC: " +
                (m_fromPool ? "the pool ran out (add MACs with 'lvcfg-cli pool add')"
                            : "the start MAC ran out");
    }
    if (summary.nextMac) {
        text += "; next MAC " + next.get<std::string>();
    }
    if (!unusedText.empty()) {
        text += "; unused:" + unusedText;
    }
    if (!suspectText.empty()) {
        text += "; suspect, skipped:" + suspectText;
    }
    m_out.Result({{"event", "summary"},
                  {"programmed", m_figures.Modules()},
                  {"attempts", m_figures.Attempts()},
                  {"already_programmed", m_figures.AlreadyProgrammed()},
                  {"failed", m_figures.Failed()},
                  {"no_mac", noMac},
                  {"not_needed", m_figures.NotNeeded()},
                  {"pool_ran_out", m_fromPool && noMac > 0},
                  {"seconds", static_cast<double>(m_figures.SpanMs(now)) / 1000.0},
                  {"modules_per_hour",
                   perHour ? JsonObject(std::round(*perHour * 10.0) / 10.0) : JsonObject()},
                  {"next_mac", next},
                  {"unused_macs", unused},
                  {"suspect_macs", suspect}},
                 text);
}

// How long the run took, and its pace per hour once it has run a minute: a few modules in a
// few seconds say nothing of an hour.
std::string BatchReport::PaceText(std::int64_t nowMs) const {
    char text[96];
    const double seconds = static_cast<double>(m_figures.SpanMs(nowMs)) / 1000.0;
    const std::optional<double> perHour =
        m_figures.ModulesPerHour(nowMs, std::numeric_limits<std::int64_t>::max());
    if (perHour) {
        std::snprintf(text, sizeof text, "%.1f min, %.1f modules per hour", seconds / 60.0,
                      *perHour);
    } else {
        std::snprintf(text, sizeof text, "%.1f s, too short for a rate per hour", seconds);
    }
    return text;
}

ExitCode BatchReport::Worst() const {
    const std::lock_guard lock(m_mutex);
    return m_worst;
}
