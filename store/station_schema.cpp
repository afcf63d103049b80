#include "store/station_schema.h"

#include <string_view>

namespace {

// Version 1. MACs and times are 64-bit integers (times in milliseconds since 1970 UTC).
// A range hands out fresh MACs in order from next_offset; pool_mac holds every MAC that has
// been handed out at least once, with its state and the reservation that holds it now.
constexpr std::string_view kVersion1 = R"(
CREATE TABLE schema_version (version {int} NOT NULL);
INSERT INTO schema_version (version) VALUES (0);
CREATE TABLE pool_range (
  id {key},
  start_mac {int} NOT NULL,
  mac_count {int} NOT NULL CHECK (mac_count > 0),
  next_offset {int} NOT NULL DEFAULT 0 CHECK (next_offset BETWEEN 0 AND mac_count),
  added_at {int} NOT NULL);
CREATE TABLE reservation (
  id {key},
  mac {int} NOT NULL,
  station TEXT NOT NULL,
  port TEXT NOT NULL,
  holder_host TEXT NOT NULL,
  holder_pid {int} NOT NULL,
  reserved_at {int} NOT NULL);
CREATE TABLE pool_mac (
  mac {int} PRIMARY KEY,
  state TEXT NOT NULL CHECK (state IN
    ('free', 'reserved', 'written', 'verified', 'failed', 'quarantined')),
  reservation_id {int} REFERENCES reservation (id),
  changed_at {int} NOT NULL);
CREATE INDEX pool_mac_by_state ON pool_mac (state, mac);
CREATE INDEX pool_mac_by_reservation ON pool_mac (reservation_id);
CREATE TABLE production_record (
  id {key},
  time_start {int} NOT NULL,
  time_end {int} NOT NULL,
  station TEXT NOT NULL,
  port TEXT NOT NULL,
  module_name TEXT NOT NULL,
  module_version TEXT NOT NULL,
  module_type TEXT NOT NULL,
  mac_before TEXT NOT NULL,
  mac_written TEXT NOT NULL,
  config_file TEXT NOT NULL,
  config_sha256 TEXT NOT NULL,
  outcome TEXT NOT NULL,
  reason TEXT NOT NULL,
  verified {int});
)";

constexpr std::string_view kVersion2 = R"(
ALTER TABLE production_record ADD COLUMN port_by_path TEXT NOT NULL DEFAULT '';
ALTER TABLE production_record ADD COLUMN read_ms {int};
ALTER TABLE production_record ADD COLUMN write_ms {int};
ALTER TABLE production_record ADD COLUMN verify_ms {int};
CREATE INDEX production_record_by_start ON production_record (time_start);
)";

// SQLite cannot change a CHECK constraint in place, so pool_mac is built anew; both backends
// take the same steps. Nothing refers to pool_mac, so it may be dropped.
constexpr std::string_view kVersion3 = R"(
CREATE TABLE pool_mac_v3 (
  mac {int} PRIMARY KEY,
  state TEXT NOT NULL CHECK (state IN
    ('free', 'reserved', 'written', 'verified', 'failed', 'quarantined', 'suspect')),
  reservation_id {int} REFERENCES reservation (id),
  changed_at {int} NOT NULL,
  held_reason TEXT NOT NULL DEFAULT '');
INSERT INTO pool_mac_v3 (mac, state, reservation_id, changed_at)
  SELECT mac, state, reservation_id, changed_at FROM pool_mac;
DROP TABLE pool_mac;
ALTER TABLE pool_mac_v3 RENAME TO pool_mac;
CREATE INDEX pool_mac_by_state ON pool_mac (state, mac);
CREATE INDEX pool_mac_by_reservation ON pool_mac (reservation_id);
CREATE INDEX reservation_by_mac ON reservation (mac);
ALTER TABLE production_record ADD COLUMN mac_sent {int};
ALTER TABLE production_record ADD COLUMN rework {int} NOT NULL DEFAULT 0;
ALTER TABLE production_record ADD COLUMN note TEXT NOT NULL DEFAULT '';
CREATE INDEX production_record_by_mac_sent ON production_record (mac_sent, outcome);
)";

// An order's block is the .cfg file's bytes in hexadecimal: the same text on both backends.
// Its verified modules are counted in its row as they are verified (a verified MAC never
// changes state again), so that the count costs the same for the first module and the last.
constexpr std::string_view kVersion4 = R"(
CREATE TABLE work_order (
  name TEXT PRIMARY KEY,
  config_hex TEXT NOT NULL,
  config_sha256 TEXT NOT NULL,
  config_file TEXT NOT NULL,
  quantity {int} NOT NULL CHECK (quantity > 0),
  state TEXT NOT NULL CHECK (state IN ('open', 'complete', 'closed')),
  created_by TEXT NOT NULL,
  created_at {int} NOT NULL,
  verified {int} NOT NULL DEFAULT 0);
ALTER TABLE pool_range ADD COLUMN order_name TEXT NOT NULL DEFAULT '';
ALTER TABLE reservation ADD COLUMN order_name TEXT NOT NULL DEFAULT '';
CREATE INDEX reservation_by_order ON reservation (order_name);
ALTER TABLE production_record ADD COLUMN order_name TEXT NOT NULL DEFAULT '';
CREATE INDEX production_record_by_order ON production_record (order_name, time_start);
CREATE INDEX production_record_by_mac_written ON production_record (mac_written);
CREATE INDEX production_record_by_mac_before ON production_record (mac_before);
CREATE TABLE station_row (
  station TEXT PRIMARY KEY,
  host TEXT NOT NULL,
  program TEXT NOT NULL,
  version TEXT NOT NULL,
  order_name TEXT NOT NULL,
  state TEXT NOT NULL CHECK (state IN ('running', 'stopping', 'stopped')),
  started_at {int} NOT NULL,
  last_seen {int} NOT NULL,
  done {int} NOT NULL,
  failed {int} NOT NULL,
  last_failure_reason TEXT NOT NULL,
  last_failure_at {int} NOT NULL);
)";

void ReplaceAll(std::string& text, std::string_view token, std::string_view by) {
    for (auto at = text.find(token); at != std::string::npos;
         at = text.find(token, at + by.size())) {
        text.replace(at, token.size(), by);
    }
}

}  // namespace

std::string SchemaStep(const SqlDialect& dialect, int version) {
    std::string step;
    if (version == 1) {
        step = kVersion1;
    } else if (version == 2) {
        step = kVersion2;
    } else if (version == 3) {
        step = kVersion3;
    } else if (version == 4) {
        step = kVersion4;
    }
    ReplaceAll(step, "{key}", dialect.generatedKey);
    ReplaceAll(step, "{int}", dialect.integer);
    return step;
}
