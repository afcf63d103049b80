#include "store/store_outcome.h"

const char* StoreOutcomeName(StoreOutcome outcome) {
    switch (outcome) {
        case StoreOutcome::Done:
            return "done";
        case StoreOutcome::PoolEmpty:
            return "pool-empty";
        case StoreOutcome::RangeInvalid:
            return "range-invalid";
        case StoreOutcome::RangeOverlaps:
            return "range-overlaps";
        case StoreOutcome::NotQuarantined:
            return "not-quarantined";
        case StoreOutcome::MacInPool:
            return "mac-in-pool";
        case StoreOutcome::MacTaken:
            return "mac-taken";
        case StoreOutcome::ReservationClosed:
            return "reservation-closed";
        case StoreOutcome::OrderInvalid:
            return "order-invalid";
        case StoreOutcome::OrderExists:
            return "order-exists";
        case StoreOutcome::OrderUnknown:
            return "order-unknown";
        case StoreOutcome::OrderNotOpen:
            return "order-not-open";
        case StoreOutcome::OrderFull:
            return "order-full";
        case StoreOutcome::BadUrl:
            return "bad-url";
        case StoreOutcome::SchemaTooNew:
            return "schema-too-new";
        case StoreOutcome::DatabaseFailed:
            return "database-failed";
    }
    return "unknown";
}
