#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "model/mac_address.h"
#include "station/module_outcome.h"
#include "store/production_record.h"
#include "store/station_store.h"
#include "store/store_outcome.h"

// A MAC handed to one module: with the store's hold on it, or none when the module keeps the
// MAC it holds (a rework, a write without a MAC given).
struct MacGrant {
    MacAddress mac{};
    std::int64_t holdId = 0;  // 0: no hold in the store
};

// What a module's attempt did with its MAC, which decides where the MAC goes.
enum class MacEnd {
    NotSent,        // no byte of the frame went out: the MAC may go to the next module
    NotTaken,       // the module was read back holding its old block: the MAC may go again
    Programmed,     // the module holds it (read back the same, or acknowledged without a read-back)
    ReadBackWrong,  // the module took a frame but reads back another block: kept used
    Suspect,        // nobody can tell whether the module holds it: held out for a person
};

// What a source gives a module: a MAC, or why there is none (PoolEmpty when no MAC is left,
// StoreFailed when the store failed, MacRefused when the MAC may not go to this module).
struct MacTake {
    std::optional<MacGrant> grant;
    ModuleOutcome refusal = ModuleOutcome::PoolEmpty;
    std::string message;
};

// Where a production run takes its modules' MACs from: the store's pool, a start MAC, or a MAC
// a person gave. A MAC is taken after the module was read and before it is written, held in
// the store so that it counts as sent from then on, and settled by what the module was found
// to hold, together with the attempt's record. No MAC is ever handed out twice. Safe to use
// from several threads at once.
class MacSource {
  public:
    virtual ~MacSource() = default;

    // A module is being read and may ask for a MAC soon; each is later taken for or forgone.
    // A source that groups its store's work waits for such modules a little (see
    // GroupedReservations); others need not know.
    virtual void Expect() {}
    virtual void Forgo() {}
    // The MAC for the module on `port`, which holds `current` now.
    [[nodiscard]] virtual MacTake Take(const std::string& port, const MacAddress& current) = 0;
    // Ends the grant's hold as `end` says on `store` (the source's own store, or a transaction
    // of it that ends many attempts together), committed with `record` (which names the MAC
    // when a frame went out); `reason` says why a suspect MAC is held out.
    virtual StoreStatus Settle(StationStore& store, const MacGrant& grant, MacEnd end,
                               const ProductionRecord& record, const std::string& reason) = 0;
};
