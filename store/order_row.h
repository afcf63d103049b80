#pragma once

#include <cstdint>
#include <string>

// A work order: one configuration block programmed into a given quantity of modules.
enum class OrderState { Open, Complete, Closed };

struct OrderRow {
    std::string name, configSha256, createdBy;
    std::int64_t createdMs = 0;
    std::int64_t quantity = 0, verified = 0, failed = 0, inFlight = 0;
    OrderState state = OrderState::Open;
};

[[nodiscard]] const char* OrderStateName(OrderState state);
