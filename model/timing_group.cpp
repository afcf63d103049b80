#include "model/config_codec.h"
#include "model/frame_bytes.h"
#include "model/timing_math.h"

namespace fo = FrameOffset;
using S = ConfigSettings;

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

    ClampSetting(&S::m_nBackoffTick);
    const std::int32_t tick = m_s.m_nBackoffTick;
    const std::int32_t crystal = m_s.m_nCrystalMHz;

    const BackoffCode backoff = EncodeBackoffTick(tick, crystal);
    frame[fo::kBackoffMantissa] = backoff.mantissa;
    frame[fo::kBackoffExponent] = backoff.exponentByte;

    // The timeouts are bounded by the tick just validated, whatever the record holds by now.
    const SettingBounds timeout{static_cast<double>(TimeoutLowBound(tick)),
                                static_cast<double>(TimeoutHighBound(tick))};
    ClampSetting(&S::m_dCcaThreshold);
    ClampSetting(&S::m_nCompensationUnit);
    ClampSetting(&S::m_nAutoSleepTimeout, timeout);
    ClampSetting(&S::m_nTimeoutUp, timeout);
    ClampSetting(&S::m_nTimeoutDown, timeout);
    ClampSetting(&S::m_nSyncDuration);
    ClampSetting(&S::m_nAutoWakeSlot);
    ClampSetting(&S::m_nBeaconDuration);

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
