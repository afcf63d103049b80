#include "cli/batch_report.h"

#include <cmath>

#include "cli/module_report.h"

namespace {

constexpr const char* kNoMacText = "No MAC address is left for this module";

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

}  // namespace

BatchReport::BatchReport(Output& out, LiveLines* live, bool verify)
    : m_out(out), m_live(live), m_verify(verify) {}

void BatchReport::OnBatchEvent(const BatchEvent& event) {
    switch (event.kind) {
        case BatchEventKind::Started:
            TookMac(*event.mac);
            [[fallthrough]];
        case BatchEventKind::Stage:
            if (m_live != nullptr) {
                m_live->Set(event.port, StageText(event.stage), MacText(event.mac),
                            LiveLines::Tone::Busy, false);
            }
            return;
        case BatchEventKind::NoMacLeft: {
            const JsonObject json{{"event", "failed"},
                                  {"port", event.port},
                                  {"mac", nullptr},
                                  {"reason", "no_mac_left"},
                                  {"message", kNoMacText}};
            Failed(json, event.port + ": " + kNoMacText, ExitCode::ModuleFailed);
            return;
        }
        case BatchEventKind::Finished:
            Finished(event);
            return;
    }
}

void BatchReport::TookMac(const MacAddress& mac) {
    const std::lock_guard lock(m_mutex);
    const std::uint64_t number = MacToNumber(mac);
    m_unusedMacs.erase(number);
    if (!m_nextMac || number >= *m_nextMac) {
        m_nextMac = number + 1;
    }
}

void BatchReport::Finished(const BatchEvent& event) {
    const ModuleJobResult& result = *event.result;
    {
        const std::lock_guard lock(m_mutex);
        if (!result.report.acknowledged) {
            m_unusedMacs.insert(MacToNumber(*event.mac));  // given back, maybe taken again
        }
        for (const std::string& warning : result.warnings) {
            // Every module of a batch gets the same build, so each warning is shown once.
            if (!m_warningsShown.insert(warning).second) {
                continue;
            }
            if (m_live != nullptr) {
                m_heldLines.push_back(warning);
            } else {
                m_out.Note(warning);
            }
        }
    }
    if (result.outcome == ModuleOutcome::Succeeded) {
        const MacAddress mac = MacOfFrame(result.sent);
        {
            const std::lock_guard lock(m_mutex);
            ++m_programmed;
        }
        if (m_live != nullptr) {
            m_live->Set(event.port, m_verify ? "written, verified" : "written", MacText(mac),
                        LiveLines::Tone::Good, true);
        } else {
            m_out.Result(WrittenJson(event.port, mac, m_verify),
                         WrittenText(event.port, mac, m_verify));
        }
        return;
    }
    const ModuleFailure failure = FailureOfJob(event.port, result, event.mac);
    if (m_live != nullptr) {
        m_live->Set(event.port, "failed: " + FailureMessage(failure), MacText(event.mac),
                    LiveLines::Tone::Bad, true);
    }
    Failed(FailureJson(failure), FailureText(failure), ExitCodeOfOutcome(result.outcome));
}

void BatchReport::Failed(const JsonObject& event, const std::string& text, ExitCode code) {
    {
        const std::lock_guard lock(m_mutex);
        ++m_failed;
        m_worst = Worse(m_worst, code);
        if (m_live != nullptr) {
            m_heldLines.push_back("lvcfg-cli: " + text);
            return;
        }
    }
    m_out.Failure(event, text);
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
    m_out.Failure({{"event", "failed"}, {"reason", "usage"}, {"message", message}}, message);
}

void BatchReport::Tick() {
    if (m_live != nullptr) {
        m_live->Redraw();
    }
}

void BatchReport::Finish() {
    Tick();
    const std::lock_guard lock(m_mutex);
    for (const std::string& line : m_heldLines) {
        m_out.Note(line);
    }
    const double hours =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count() / 3600.0;
    const double perHour = hours > 0 ? std::round(m_programmed / hours * 10.0) / 10.0 : 0.0;
    char rate[32];
    std::snprintf(rate, sizeof rate, "%.1f", perHour);
    // The MACs a following batch may use: those given back and not taken again, and every
    // MAC from the one after the highest taken.
    JsonObject unused = JsonObject::array();
    std::string unusedText;
    for (const std::uint64_t number : m_unusedMacs) {
        unused.push_back(FormatMacAddress(MacFromNumber(number)));
        unusedText += " " + unused.back().get<std::string>();
    }
    const JsonObject next =
        m_nextMac ? JsonObject(FormatMacAddress(MacFromNumber(*m_nextMac))) : JsonObject();
    std::string text = "programmed " + std::to_string(m_programmed) + ", failed " +
                       std::to_string(m_failed) + ", " + rate + " modules per hour";
    if (m_nextMac) {
        text += "; next MAC " + next.get<std::string>();
    }
    if (!m_unusedMacs.empty()) {
        text += "; unused:" + unusedText;
    }
    m_out.Result({{"event", "summary"},
                  {"programmed", m_programmed},
                  {"failed", m_failed},
                  {"modules_per_hour", perHour},
                  {"next_mac", next},
                  {"unused_macs", unused}},
                 text);
}

ExitCode BatchReport::Worst() const {
    const std::lock_guard lock(m_mutex);
    return m_worst;
}
