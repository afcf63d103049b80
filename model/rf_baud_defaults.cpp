#include <algorithm>
#include <cstdint>
#include <limits>

#include "model/config_codec.h"
#include "model/timing_math.h"
#include "model/timing_tables.h"

namespace {

constexpr int kMinBeaconDuration = 35;
constexpr std::int64_t kMinAutoSleepTimeout = 2000;
constexpr std::int64_t kMinTimeoutUp = 4000;
constexpr int kDefaultSyncDuration = 25;
constexpr int kDefaultCompensationUnit = 200;

struct ChannelPlan {
    int interval;  // also the auxiliary start channel
    int auxChNum;  // position in the Aux CH Num list
};

// The faster of the default and maximum data rates sets the channel spacing. Slow rates, and a
// list without a choice (-1), use the narrow plan.
ChannelPlan ChannelPlanFor(int fasterRate) {
    switch (fasterRate) {
        case 0:
            return {10, 2};
        case 1:
            return {5, 2};
        case 2:
            return {3, 2};
        case 3:
        case 4:
            return {2, 2};
        default:
            return {1, 3};
    }
}

void ApplyChannelPlan(ConfigSettings& s, bool keepAuxChNum) {
    const ChannelPlan plan = ChannelPlanFor(std::min(s.m_iRfBaudDef, s.m_iRfBaudMax));
    s.m_nAuxChInterval = plan.interval;
    s.m_nAuxStartChannel = plan.interval;
    if (!keepAuxChNum) {
        s.m_iAuxChNum = plan.auxChNum;
    }
}

int SaturateToInt(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

// The timing values that follow from a data rate's table entry and the sleep-wake rate.
void ApplyRateTimings(ConfigSettings& s, std::size_t rate) {
    const std::int64_t sleepWakeRate = s.m_nSleepWakeRate;  // as shown, not validated
    const std::int32_t tick = BACKOFF_TICK_TABLE[rate];
    const std::int32_t slot = AUTO_WAKE_SLOT_TABLE[rate];
    s.m_nBackoffTick = tick;
    s.m_dCcaThreshold = CCA_THRESHOLD_TABLE[rate];
    s.m_nAutoWakeSlot = slot;

    // An unvalidated rate can push R x s / 2 past the int range: it saturates before the range
    // check brings it down.
    s.m_nBeaconDuration = std::max(SaturateToInt(sleepWakeRate * slot / 2), kMinBeaconDuration);

    const std::int64_t product = std::int64_t{tick} * sleepWakeRate * slot;
    const std::int64_t high = TimeoutHighBound(tick);
    std::int64_t autoSleep = product / 500;
    if (autoSleep < kMinAutoSleepTimeout) {
        autoSleep = kMinAutoSleepTimeout;
    } else if (autoSleep > high) {
        autoSleep = high;
    }
    std::int64_t timeoutUp = product / 1000;
    if (timeoutUp < kMinTimeoutUp) {
        timeoutUp = kMinTimeoutUp;
    } else if (timeoutUp > high) {
        timeoutUp = high;
    }
    s.m_nAutoSleepTimeout = static_cast<int>(autoSleep);
    s.m_nTimeoutUp = static_cast<int>(timeoutUp);
    s.m_nTimeoutDown = s.m_nTimeoutUp;
}

}  // namespace

void ConfigCodec::ApplyRfBaudDefaults(bool keepAuxChNum) {
    m_host.UpdateData(true);
    const int rate = m_s.m_iRfBaudDef;
    // A list without a choice (-1, after a frame carried a rate past the list) has no table
    // entry: the timing values derived from the tables keep what they hold, and only the
    // rate-independent defaults and the channel plan apply.
    if (rate >= 0 && static_cast<std::size_t>(rate) < kRfBaudCount) {
        ApplyRateTimings(m_s, static_cast<std::size_t>(rate));
    }
    m_s.m_nSyncDuration = kDefaultSyncDuration;
    m_s.m_nMainChannel = 0;
    ApplyChannelPlan(m_s, keepAuxChNum);
    m_host.UpdateData(false);
}

void ConfigCodec::ApplyRfBaudMaxDefaults(bool keepAuxChNum) {
    m_host.UpdateData(true);
    m_s.m_nCompensationUnit = kDefaultCompensationUnit;
    m_s.m_nMainChannel = 0;
    ApplyChannelPlan(m_s, keepAuxChNum);
    m_host.UpdateData(false);
}
