#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "store/pool_status.h"

// A work order: one configuration block programmed into a given quantity of modules.
enum class OrderState { Open, Complete, Closed };

struct OrderRow {
    std::string name, configSha256, createdBy;
    std::int64_t createdMs = 0;
    std::int64_t quantity = 0, verified = 0, failed = 0, inFlight = 0;
    OrderState state = OrderState::Open;
};

[[nodiscard]] const char* OrderStateName(OrderState state);

// An order as `order create` gives it to the store. The block is the .cfg file's 518 bytes as
// stored (scrambled), in hexadecimal, and `configSha256` is the SHA-256 of those bytes, so it
// equals sha256sum of the file.
struct NewOrder {
    std::string name, configHex, configSha256, configFile, createdBy;
    std::int64_t quantity = 0;
};

// An order with its block and the MAC ranges that belong to it (none: it draws from the ranges
// that belong to no order).
struct OrderDetail {
    OrderRow row;
    std::string configHex, configFile;
    std::vector<PoolRange> ranges;
};

// The longest order name.
inline constexpr std::size_t kOrderNameMax = 64;

// An order name is 1 to kOrderNameMax letters, digits, '.', '_' and '-', not starting with
// '-' or '.': it stands in file names, URLs and command lines unquoted.
[[nodiscard]] bool IsOrderName(const std::string& name);
