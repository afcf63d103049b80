#pragma once

#include <string>
#include <utility>

// How a store operation ended. Everything but Done leaves the store as it was before the call.
enum class StoreOutcome {
    Done,
    PoolEmpty,          // no free MAC left in any range
    RangeInvalid,       // an empty range, or one that runs past the last MAC address
    RangeOverlaps,      // a range that shares addresses with one already in the pool
    NotQuarantined,     // a release of a MAC that is neither quarantined nor suspect
    MacInPool,          // a MAC outside the pool was asked for, but a pool range holds it
    MacTaken,           // a MAC outside the pool was asked for, but it was sent before
    ReservationClosed,  // a reservation that is unknown or not in the state the step needs
    OrderInvalid,       // an order name with odd characters, or a quantity below 1
    OrderExists,        // an order of that name is in the store already
    OrderUnknown,       // no order of that name
    OrderNotOpen,       // the order is complete or closed: no module is programmed for it
    OrderFull,          // every module the order still needs is being programmed elsewhere
    BadUrl,             // a store address we cannot read
    SchemaTooNew,       // the database was made by a newer program
    DatabaseFailed,     // the database is unreachable, refused the statement or is read-only
};

[[nodiscard]] const char* StoreOutcomeName(StoreOutcome outcome);

// The outcome of an operation without a value, with a message for people when it failed.
struct [[nodiscard]] StoreStatus {
    StoreOutcome outcome = StoreOutcome::Done;
    std::string message;

    [[nodiscard]] bool Ok() const { return outcome == StoreOutcome::Done; }
};

// The outcome of an operation with its value; the value means something only when Ok().
template <class T>
struct [[nodiscard]] StoreResult {
    StoreOutcome outcome = StoreOutcome::Done;
    T value{};
    std::string message;

    StoreResult() = default;
    StoreResult(T done) : value(std::move(done)) {}  // NOLINT: a value is a success
    StoreResult(StoreStatus failure)                 // NOLINT: a failure carries no value
        : outcome(failure.outcome), message(std::move(failure.message)) {}

    [[nodiscard]] bool Ok() const { return outcome == StoreOutcome::Done; }
};

[[nodiscard]] inline StoreStatus StoreFailure(StoreOutcome outcome, std::string message) {
    return {outcome, std::move(message)};
}
