#pragma once

#include <chrono>
#include <functional>

#include "cli/arrival_feed.h"

enum class WatchEnd {
    Interrupted,  // SIGINT, SIGTERM or SIGHUP
    FeedEnded,    // a scripted feed reached its end
    Failed,       // the signals or the feed could not be watched
};

// Hands each port change of `feed` to `onChange` until the user interrupts or the feed ends,
// and calls `onTick` at least every `tick` (for live lines). The stop signals are blocked for
// the calling thread while it runs and for every thread it starts meanwhile, so they end the
// watch instead of the program and a batch can finish and report.
[[nodiscard]] WatchEnd WatchPortChanges(ArrivalFeed& feed,
                                        const std::function<void(const PortChange&)>& onChange,
                                        const std::function<void()>& onTick,
                                        std::chrono::milliseconds tick);
