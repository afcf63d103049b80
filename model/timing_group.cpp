#include "model/config_codec.h"
#include "model/frame_bytes.h"
#include "model/timing_math.h"

namespace fo = FrameOffset;

namespace {

constexpr std::uint8_t kTimingConstant = 6;

}  // namespace

void ConfigCodec::EncodeTimingGroup(ConfigFrame& frame, FrameBuildOptions options) {
    // With the advanced panel hidden the timing fields are not the user's to edit: the defaults
    // of the data rates shown replace them. Their exchanges re-read every control, so the
    // adjustments made earlier in this build reach the frame but not the record.
    if (!options.advancedShown) {
        const bool keepAuxChNum = options.purpose == BuildPurpose::WriteOrSave;
        ApplyRfBaudDefaults(keepAuxChNum);
        ApplyRfBaudMaxDefaults(keepAuxChNum);
    }

    ClampInt(m_s.m_nBackoffTick, 1, 160000, "Backoff tick", "us");
    const std::int32_t tick = m_s.m_nBackoffTick;
    const std::int32_t crystal = m_s.m_nCrystalMHz;

    const BackoffCode backoff = EncodeBackoffTick(tick, crystal);
    frame[fo::kBackoffMantissa] = backoff.mantissa;
    frame[fo::kBackoffExponent] = backoff.exponentByte;

    const std::int32_t low = TimeoutLowBound(tick);
    const std::int32_t high = TimeoutHighBound(tick);
    ClampDouble(m_s.m_dCcaThreshold, -100.0, -10.0, "CCA threshold", "dBm");
    ClampInt(m_s.m_nCompensationUnit, 1, 255, "Compensation Uint", "ticks");
    ClampInt(m_s.m_nAutoSleepTimeout, low, high, "Auto-sleep timeout", "ms");
    ClampInt(m_s.m_nTimeoutUp, low, high, "Timeout Uplink", "ms");
    ClampInt(m_s.m_nTimeoutDown, low, high, "Timeout downlink", "ms");
    ClampInt(m_s.m_nSyncDuration, 5, 65535, "Synchronization message duration", "tick");
    ClampInt(m_s.m_nAutoWakeSlot, 5, 65535, "Auto-wake slot", "tick");
    ClampInt(m_s.m_nBeaconDuration, 5, 65535, "Beacon message duration", "tick");

    frame[fo::kCcaCode] = CcaCode(m_s.m_dCcaThreshold);

    // The divisor is the validated tick, not the slightly longer one that M and E represent.
    PutU16(frame, fo::kAutoSleepTimeout, TimeoutToTicks(m_s.m_nAutoSleepTimeout, tick));
    PutU16(frame, fo::kTimeoutUp, TimeoutToTicks(m_s.m_nTimeoutUp, tick));
    PutU16(frame, fo::kTimeoutDown, TimeoutToTicks(m_s.m_nTimeoutDown, tick));

    PutU8(frame, fo::kCompensationUnit, m_s.m_nCompensationUnit);
    PutU16(frame, fo::kSyncDuration, m_s.m_nSyncDuration);
    PutU16(frame, fo::kAutoWakeSlot, m_s.m_nAutoWakeSlot);
    PutU16(frame, fo::kBeaconDuration, m_s.m_nBeaconDuration);

    frame[fo::kTimingConstant] = kTimingConstant;

    // The rate the network group wrote in this build: validated, unlike the record's value that
    // the hidden-panel defaults may have re-read from the control.
    const std::uint16_t rate = GetU16(frame, fo::kSleepWakeRate);
    PutU16(frame, fo::kWakeWord, WakeWord(rate, m_s.m_nAutoWakeSlot, crystal, tick));
}

void ConfigCodec::DecodeTimingGroup(const ConfigFrame& frame) {
    m_s.m_dCcaThreshold = CcaThreshold(frame[fo::kCcaCode]);

    const std::int32_t tick = DecodeBackoffTick(frame[fo::kBackoffMantissa],
                                                frame[fo::kBackoffExponent], m_s.m_nCrystalMHz);
    m_s.m_nBackoffTick = tick;
    m_s.m_nAutoSleepTimeout = TicksToTimeout(GetU16(frame, fo::kAutoSleepTimeout), tick);
    m_s.m_nTimeoutUp = TicksToTimeout(GetU16(frame, fo::kTimeoutUp), tick);
    m_s.m_nTimeoutDown = TicksToTimeout(GetU16(frame, fo::kTimeoutDown), tick);

    m_s.m_nCompensationUnit = frame[fo::kCompensationUnit];
    m_s.m_nSyncDuration = GetU16(frame, fo::kSyncDuration);
    m_s.m_nAutoWakeSlot = GetU16(frame, fo::kAutoWakeSlot);
    m_s.m_nBeaconDuration = GetU16(frame, fo::kBeaconDuration);
}
