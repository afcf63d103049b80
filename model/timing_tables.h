#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// Radio timing defaults of each RF data rate, indexed by the position in the RF Baud lists
// ("500kbps", "250kbps", "175kbps", "100kbps", "76.8kbps", "38.4kbps", "19.2kbps", "9.6kbps",
// "7.2kbps", "4.8kbps", "2.4kbps", "1.2kbps").
inline constexpr std::size_t kRfBaudCount = 12;

// Backoff tick, microseconds.
inline constexpr std::array<std::int32_t, kRfBaudCount> BACKOFF_TICK_TABLE{
    108, 128, 137, 216, 280, 551, 1092, 2176, 2914, 4352, 8704, 17408};
// Auto-wake slot, ticks.
inline constexpr std::array<std::int32_t, kRfBaudCount> AUTO_WAKE_SLOT_TABLE{
    15, 18, 24, 25, 25, 25, 25, 25, 25, 25, 25, 25};
// Clear-channel assessment threshold, dBm.
inline constexpr std::array<double, kRfBaudCount> CCA_THRESHOLD_TABLE{
    -74.0, -74.0, -74.0, -74.0, -74.0, -74.0, -75.0, -76.0, -77.0, -78.0, -79.0, -80.0};
