// The work orders of SqlStationStore: the order's row, its block, and the count of its modules
// that decides, in the transaction that reserves, whether one more MAC may go out for it.
#include <array>

#include "store/iso_time.h"
#include "store/sql_station_store.h"
#include "store/sql_values.h"

namespace {

// A MAC of the order counts against its quantity while its module may hold it: verified (the
// order's row counts those), or in flight (reserved, written, suspect or quarantined) until it
// is settled. The MACs in flight are few whatever the pool holds, and found by their state
// first (CROSS JOIN keeps SQLite from starting at the order's reservations, which grow with it).
constexpr const char* kInFlight =
    "SELECT r.order_name, COUNT(*) FROM pool_mac m CROSS JOIN reservation r WHERE r.id = "
    "m.reservation_id AND m.state IN ('reserved', 'written', 'suspect', 'quarantined') ";

const std::array<std::pair<const char*, OrderState>, 3> kOrderStateWords{{
    {"open", OrderState::Open},
    {"complete", OrderState::Complete},
    {"closed", OrderState::Closed},
}};

std::optional<OrderState> OrderStateOfWord(const std::optional<std::string>& word) {
    for (const auto& [text, state] : kOrderStateWords) {
        if (word == text) {
            return state;
        }
    }
    return std::nullopt;
}

OrderRow* RowNamed(std::vector<OrderRow>& rows, const std::optional<std::string>& name) {
    for (OrderRow& row : rows) {
        if (name && row.name == *name) {
            return &row;
        }
    }
    return nullptr;
}

}  // namespace

StoreStatus SqlStationStore::OrderRoom(const std::string& order, std::string& owner) {
    const std::string what = "cannot reserve a MAC for order " + order;
    const std::array<SqlValue, 1> name{order};
    std::vector<SqlRow> rows, counts, ranges;
    if (!m_database->Run(
            std::string("SELECT quantity, state, verified FROM work_order WHERE name = $1") +
                m_dialect.lockRows,
            name, &rows)) {
        return Failure(what);
    }
    if (rows.empty()) {
        return StoreFailure(StoreOutcome::OrderUnknown, "there is no order " + order);
    }
    std::int64_t quantity = 0;
    std::int64_t verified = 0;
    if (rows[0].size() != 3 || !ParseInt(rows[0][0], quantity) || !ParseInt(rows[0][2], verified)) {
        return Unexpected(what);
    }
    if (rows[0][1] != "open") {
        return StoreFailure(StoreOutcome::OrderNotOpen, "order " + order + " is " +
                                                            rows[0][1].value_or("") +
                                                            ": no module is programmed for it");
    }
    if (!m_database->Run(std::string(kInFlight) + "AND r.order_name = $1 GROUP BY r.order_name",
                         name, &counts) ||
        !m_database->Run("SELECT 1 FROM pool_range WHERE order_name = $1 LIMIT 1", name, &ranges)) {
        return Failure(what);
    }
    std::int64_t inFlight = 0;
    if (!counts.empty() && (counts[0].size() != 2 || !ParseInt(counts[0][1], inFlight))) {
        return Unexpected(what);
    }
    if (verified + inFlight >= quantity) {
        return StoreFailure(StoreOutcome::OrderFull,
                            "order " + order + " has " + std::to_string(verified) +
                                " verified and " + std::to_string(inFlight) + " in flight of " +
                                std::to_string(quantity));
    }
    owner = ranges.empty() ? std::string() : order;
    return {};
}

StoreResult<std::string> SqlStationStore::LockOrderOf(std::int64_t reservationId) {
    std::vector<SqlRow> rows;
    const std::array<SqlValue, 1> id{reservationId};
    if (!m_database->Run(std::string("SELECT name FROM work_order WHERE name = "
                                     "(SELECT order_name FROM reservation WHERE id = $1)") +
                             m_dialect.lockRows,
                         id, &rows)) {
        return Failure("cannot lock the order");
    }
    return rows.empty() || rows[0].empty() ? std::string() : rows[0][0].value_or("");
}

bool SqlStationStore::CountVerified(const std::string& order) {
    const std::array<SqlValue, 1> name{order};
    return m_database->Run(
        "UPDATE work_order SET verified = verified + 1, state = CASE WHEN state = 'open' AND "
        "verified + 1 >= quantity THEN 'complete' ELSE state END WHERE name = $1",
        name);
}

StoreResult<std::vector<OrderRow>> SqlStationStore::ReadOrders(const std::string& name) {
    const std::string what = "cannot read the orders";
    std::vector<SqlValue> values;
    std::string orders =
        "SELECT name, config_sha256, created_by, created_at, quantity, state, verified "
        "FROM work_order";
    std::string counted = std::string(kInFlight) + "AND r.order_name <> ''";
    std::string failed =
        "SELECT order_name, COUNT(*) FROM production_record WHERE "
        "outcome = 'failed' AND order_name <> ''";
    if (!name.empty()) {
        values.emplace_back(name);
        orders += " WHERE name = $1";
        counted += " AND r.order_name = $1";
        failed += " AND order_name = $1";
    }
    orders += " ORDER BY created_at DESC, name";
    counted += " GROUP BY r.order_name";
    failed += " GROUP BY order_name";
    std::vector<SqlRow> rows, counts, failures;
    // One snapshot, so the counts belong to the rows.
    SqlTransaction transaction(*m_database, m_dialect.beginRead);
    if (!transaction.IsOpen() || !m_database->Run(orders, values, &rows) ||
        !m_database->Run(counted, values, &counts) || !m_database->Run(failed, values, &failures)) {
        return Failure(what);
    }
    std::vector<OrderRow> result;
    for (const SqlRow& row : rows) {
        OrderRow& order = result.emplace_back();
        const std::optional<OrderState> state =
            row.size() == 7 ? OrderStateOfWord(row[5]) : std::nullopt;
        if (!state || !ParseInt(row[3], order.createdMs) || !ParseInt(row[4], order.quantity) ||
            !ParseInt(row[6], order.verified)) {
            return Unexpected(what);
        }
        order.name = row[0].value_or("");
        order.configSha256 = row[1].value_or("");
        order.createdBy = row[2].value_or("");
        order.state = *state;
    }
    for (const SqlRow& row : counts) {
        OrderRow* order = row.size() == 2 ? RowNamed(result, row[0]) : nullptr;
        if (order != nullptr && !ParseInt(row[1], order->inFlight)) {
            return Unexpected(what);
        }
    }
    for (const SqlRow& row : failures) {
        OrderRow* order = row.size() == 2 ? RowNamed(result, row[0]) : nullptr;
        if (order != nullptr && !ParseInt(row[1], order->failed)) {
            return Unexpected(what);
        }
    }
    return result;
}

StoreResult<std::vector<OrderRow>> SqlStationStore::Orders() {
    return ReadOrders({});
}

StoreStatus SqlStationStore::CreateOrder(const NewOrder& order) {
    if (!IsOrderName(order.name)) {
        return StoreFailure(StoreOutcome::OrderInvalid,
                            "an order name is 1 to " + std::to_string(kOrderNameMax) +
                                " letters, digits, '.', '_' and '-', not starting with '-' or "
                                "'.'");
    }
    if (order.quantity < 1) {
        return StoreFailure(StoreOutcome::OrderInvalid, "an order needs a quantity of 1 or more");
    }
    if (order.configHex.size() != 2 * 518 || order.configSha256.size() != 64) {
        return StoreFailure(StoreOutcome::OrderInvalid, "an order needs one 518-byte block");
    }
    const std::array<SqlValue, 8> values{order.name,       order.configHex,    order.configSha256,
                                         order.configFile, order.quantity,     order.createdBy,
                                         StoreClockNow(),  std::string("open")};
    std::vector<SqlRow> added;
    SqlTransaction transaction(*m_database, m_dialect.beginWrite);
    if (!transaction.IsOpen() ||
        !m_database->Run("INSERT INTO work_order (name, config_hex, config_sha256, config_file, "
                         "quantity, created_by, created_at, state) VALUES ($1, $2, $3, $4, $5, "
                         "$6, $7, $8) ON CONFLICT (name) DO NOTHING RETURNING name",
                         values, &added)) {
        return Failure("cannot create the order");
    }
    if (added.empty()) {
        return StoreFailure(StoreOutcome::OrderExists,
                            "there is an order " + order.name + " already");
    }
    if (!transaction.Commit()) {
        return Failure("cannot create the order");
    }
    return {};
}

StoreResult<OrderDetail> SqlStationStore::Order(const std::string& name) {
    StoreResult<std::vector<OrderRow>> rows = ReadOrders(name);
    if (!rows.Ok()) {
        return StoreStatus{rows.outcome, rows.message};
    }
    if (rows.value.empty()) {
        return StoreFailure(StoreOutcome::OrderUnknown, "there is no order " + name);
    }
    OrderDetail detail;
    detail.row = rows.value.front();
    std::vector<SqlRow> block, ranges;
    const std::array<SqlValue, 1> value{name};
    if (!m_database->Run("SELECT config_hex, config_file FROM work_order WHERE name = $1", value,
                         &block) ||
        !m_database->Run("SELECT start_mac, mac_count FROM pool_range WHERE order_name = $1 "
                         "ORDER BY start_mac",
                         value, &ranges)) {
        return Failure("cannot read the order");
    }
    if (block.empty() || block[0].size() != 2) {
        return Unexpected("cannot read the order");
    }
    detail.configHex = block[0][0].value_or("");
    detail.configFile = block[0][1].value_or("");
    for (const SqlRow& row : ranges) {
        std::int64_t start = 0;
        std::int64_t count = 0;
        if (row.size() != 2 || !ParseInt(row[0], start) || !ParseInt(row[1], count)) {
            return Unexpected("cannot read the order");
        }
        detail.ranges.push_back(
            {static_cast<MacNumber>(start), static_cast<std::uint64_t>(count), name});
    }
    return detail;
}

StoreStatus SqlStationStore::CloseOrder(const std::string& name) {
    std::vector<SqlRow> closed;
    const std::array<SqlValue, 1> value{name};
    if (!m_database->Run("UPDATE work_order SET state = 'closed' WHERE name = $1 RETURNING name",
                         value, &closed)) {
        return Failure("cannot close the order");
    }
    if (closed.empty()) {
        return StoreFailure(StoreOutcome::OrderUnknown, "there is no order " + name);
    }
    return {};
}
