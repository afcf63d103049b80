#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>

#include "store/production_record.h"

// The figures of a line's work, from the records of its attempts: how many modules it
// programmed (each module once, however often it was plugged in or reworked) against how many
// attempts it made, how many attempts failed and how many of those found no MAC left, and its
// pace over a stated window that runs on with the clock, so the pace falls when the line stops.
// Both production front ends show these figures: the station window's counters and the
// command line's closing summary.
class RunFigures {
  public:
    // The pace is judged over the last quarter of an hour...
    static constexpr std::int64_t kRateWindowMs = 15LL * 60 * 1000;
    // ...and not at all over less than a minute of work: 8 modules in the first second are
    // no pace of 28,800 an hour.
    static constexpr std::int64_t kShortestRateSpanMs = 60LL * 1000;

    // The work began at `ms` (a run's start); without it, with the first attempt's start.
    void Began(std::int64_t ms);
    void Add(const ProductionRecord& record);

    // Distinct modules programmed, by the MAC they were given.
    [[nodiscard]] int Modules() const { return static_cast<int>(m_modules.size()); }
    [[nodiscard]] int Attempts() const { return m_attempts; }
    [[nodiscard]] int AlreadyProgrammed() const { return m_alreadyProgrammed; }
    // Attempts that left their module unprogrammed, those turned away for lack of a MAC
    // included.
    [[nodiscard]] int Failed() const { return m_failed; }
    [[nodiscard]] int NoMac() const { return m_noMac; }
    // Modules left alone because their work order needed no more.
    [[nodiscard]] int NotNeeded() const { return m_notNeeded; }

    // Modules programmed per hour over the last `windowMs` before `nowMs`, or since the work
    // began when that is later; nothing over less than kShortestRateSpanMs.
    [[nodiscard]] std::optional<double> ModulesPerHour(std::int64_t nowMs,
                                                       std::int64_t windowMs = kRateWindowMs) const;
    // How long the work has gone on at `nowMs`.
    [[nodiscard]] std::int64_t SpanMs(std::int64_t nowMs) const;

  private:
    struct Programmed {
        std::int64_t endMs;
        bool operator<(const Programmed& other) const { return endMs < other.endMs; }
    };

    std::optional<std::int64_t> m_beganMs;
    std::set<std::string> m_modules;
    std::multiset<Programmed> m_programmed;  // by end time, for the pace
    int m_attempts = 0;
    int m_alreadyProgrammed = 0;
    int m_failed = 0;
    int m_noMac = 0;
    int m_notNeeded = 0;
};
