#pragma once

#include <string>

#include "station/module_attempt.h"
#include "store/production_record.h"
#include "store/store_outcome.h"

enum class RunEventKind {
    Started,        // the module on the port is being read
    Stage,          // programming moved on to `stage`
    Ended,          // `result` tells how the attempt ended, `record` what was recorded
    OrderComplete,  // the work order has its quantity (or was closed): no module is taken any
                    // more; told once, with no port
};

// What a production run tells its front ends about one port. The pointers are set for Ended
// only and live for the duration of the call.
struct RunEvent {
    RunEventKind kind = RunEventKind::Started;
    std::string port;
    ProgramStage stage = ProgramStage::Reading;
    const AttemptResult* result = nullptr;
    const ProductionRecord* record = nullptr;
    const StoreStatus* kept = nullptr;  // whether the record (and the MAC's end) was committed
};
