#include "tools/module_sim/module_identity.h"

#include <algorithm>

#include "model/codec_tables.h"
#include "model/frame_bytes.h"

namespace {

// The UART Baud list position of 115200 bit/s.
constexpr std::size_t kUart115200 = 11;
// Bytes 4-27: the name with the magic at its start, up to the type character.
constexpr std::size_t kNameFieldLength = FrameOffset::kType - FrameOffset::kName;

void PutIdentity(ConfigFrame& frame, const ModuleIdentity& identity) {
    if (identity.name.empty()) {
        std::copy(kSimulatedModuleName.begin(), kSimulatedModuleName.end(),
                  frame.begin() + FrameOffset::kName);
    } else {
        const std::size_t length = std::min<std::size_t>(identity.name.size(), kNameFieldLength);
        std::copy_n(identity.name.begin(), length, frame.begin() + FrameOffset::kName);
    }
    frame[FrameOffset::kType] = identity.role == ModuleRole::Root ? 'R' : 'N';
    frame[FrameOffset::kType + 1] = '-';
    frame[FrameOffset::kPowerClass] = identity.powerDbm == 20 ? '2' : '1';
    frame[FrameOffset::kBandDigit2] = identity.bandMHz == 470 ? '7' : '3';
    frame[FrameOffset::kBandDigit3] = identity.bandMHz == 470 ? '0' : '3';
    frame[FrameOffset::kBandDigit3 + 1] = '-';
    frame[FrameOffset::kCrystal] = identity.crystalMHz == 27 ? '7' : '6';
    frame[FrameOffset::kVersionMinor] = 6;
    frame[FrameOffset::kVersionMajor] = 1;
}

void PutRadio(ConfigFrame& frame, const ModuleIdentity& identity) {
    std::copy(identity.mac.begin(), identity.mac.end(), frame.begin() + FrameOffset::kMac);
    frame[FrameOffset::kNetworkIdLow] = 0x01;
    PutU16(frame, FrameOffset::kSyncWord, SYNC_WORD_TABLE[0]);
    const std::int64_t freqWord = std::int64_t{identity.bandMHz} * 65536 / identity.crystalMHz;
    PutU16(frame, FrameOffset::kFreqWord, freqWord);
    PutU8(frame, FrameOffset::kFreqWord + 2, freqWord >> 16);
    frame[FrameOffset::kAuxStartChannel] = 10;
    frame[FrameOffset::kAuxChInterval] = 10;
}

void PutUart(ConfigFrame& frame, const ModuleIdentity& identity) {
    PutU16(frame, FrameOffset::kHostBootTime, 1);
    PutU16(frame, FrameOffset::kResponseTimeout, 1);
    const auto& mantissa = identity.crystalMHz == 27 ? BAUD_M_27MHZ : BAUD_M_26MHZ;
    frame[FrameOffset::kUartBaudMantissa] = mantissa[kUart115200];
    frame[FrameOffset::kUartBaudExponent] = BAUD_E_TABLE[kUart115200];
    frame[FrameOffset::kUartControl] = 0x80;
    frame[FrameOffset::kAddrLength] = 16;
}

// The timing defaults of the 500 kbps data rate.
void PutTiming(ConfigFrame& frame) {
    frame[FrameOffset::kBackoffMantissa] = 22;
    frame[FrameOffset::kBackoffExponent] = 0x1E;
    PutU16(frame, FrameOffset::kAutoSleepTimeout, 18519);
    PutU16(frame, FrameOffset::kTimeoutUp, 37038);
    PutU16(frame, FrameOffset::kTimeoutDown, 37038);
    PutU16(frame, FrameOffset::kSyncDuration, 25);
    PutU16(frame, FrameOffset::kBeaconDuration, 35);
    PutU16(frame, FrameOffset::kAutoWakeSlot, 15);
    frame[FrameOffset::kTimingConstant] = 6;
    frame[FrameOffset::kCompensationUnit] = 200;
}

}  // namespace

ConfigFrame MakeModuleFrame(const ModuleIdentity& identity) {
    ConfigFrame frame{};
    PutIdentity(frame, identity);
    PutRadio(frame, identity);
    PutUart(frame, identity);
    PutTiming(frame);
    SealFrame(frame);
    return frame;
}

MacAddress MacPlus(const MacAddress& mac, unsigned offset) {
    return MacFromNumber(MacToNumber(mac) + offset);
}
