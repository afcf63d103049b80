#include "station/run_figures.h"

#include <algorithm>
#include <iterator>

#include "station/module_outcome.h"

namespace {

constexpr double kHourMs = 60.0 * 60 * 1000;

}  // namespace

void RunFigures::Began(std::int64_t ms) {
    m_beganMs = std::min(m_beganMs.value_or(ms), ms);
}

void RunFigures::Add(const ProductionRecord& record) {
    Began(record.timeStart);
    ++m_attempts;
    if (record.outcome == "ok") {
        m_modules.insert(record.macWritten);
        m_programmed.insert({record.timeEnd});
    } else if (record.reason == ModuleOutcomeReason(ModuleOutcome::AlreadyProgrammed)) {
        ++m_alreadyProgrammed;
    } else if (record.outcome == "skipped") {
        ++m_notNeeded;  // left alone: the order had all it needed
    } else {
        ++m_failed;
        if (record.reason == ModuleOutcomeReason(ModuleOutcome::PoolEmpty)) {
            ++m_noMac;
        }
    }
}

std::int64_t RunFigures::SpanMs(std::int64_t nowMs) const {
    return m_beganMs ? std::max<std::int64_t>(0, nowMs - *m_beganMs) : 0;
}

std::optional<double> RunFigures::ModulesPerHour(std::int64_t nowMs, std::int64_t windowMs) const {
    const std::int64_t span = std::min(windowMs, SpanMs(nowMs));
    if (span < kShortestRateSpanMs) {
        return std::nullopt;
    }
    const auto first = m_programmed.upper_bound({nowMs - span});
    const auto last = m_programmed.upper_bound({nowMs});
    const auto count = std::distance(first, last);
    return static_cast<double>(count) * kHourMs / static_cast<double>(span);
}
