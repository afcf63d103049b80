#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

// The 518-byte configuration frame: a 4-byte command, the 512-byte configuration block and the
// block's CRC (low byte first). Every offset below counts from the first byte of the frame.
inline constexpr std::size_t kFrameSize = 518;
inline constexpr std::size_t kBlockSize = 512;
using ConfigFrame = std::array<std::uint8_t, kFrameSize>;
using ConfigBlock = std::span<std::uint8_t, kBlockSize>;

namespace FrameOffset {
inline constexpr std::size_t kCommand = 0;  // "ATW0" in a frame we send or store
inline constexpr std::size_t kBlock = 4;
inline constexpr std::size_t kMagic = 4;  // "Lumivaro", the first 8 bytes of the module name
inline constexpr std::size_t kMagicLength = 8;
inline constexpr std::size_t kName = 4;
inline constexpr std::size_t kNameLength = 24;
inline constexpr std::size_t kType = 28;
inline constexpr std::size_t kPowerClass = 30;
inline constexpr std::size_t kBandDigit2 = 31;
inline constexpr std::size_t kBandDigit3 = 32;
inline constexpr std::size_t kCrystal = 34;
inline constexpr std::size_t kVersionMinor = 36;
inline constexpr std::size_t kVersionMajor = 37;
inline constexpr std::size_t kIdentityEnd = 38;  // bytes 4-37 are the module identity
inline constexpr std::size_t kMac = 38;
inline constexpr std::size_t kMacLength = 6;
inline constexpr std::size_t kNetworkIdLow = 44;
inline constexpr std::size_t kSyncWord = 45;
inline constexpr std::size_t kFreqWord = 47;
inline constexpr std::size_t kRfBaudDef = 50;
inline constexpr std::size_t kRfBaudMax = 51;
inline constexpr std::size_t kRfBaudMin = 52;
inline constexpr std::size_t kCcaCode = 53;
inline constexpr std::size_t kMainChannel = 54;
inline constexpr std::size_t kAuxStartChannel = 55;
inline constexpr std::size_t kAuxChInterval = 56;
inline constexpr std::size_t kAuxChMask = 57;
inline constexpr std::size_t kRfPower = 58;
inline constexpr std::size_t kSleep = 59;
inline constexpr std::size_t kDeviceNum = 60;
inline constexpr std::size_t kFlowCtrl = 61;
inline constexpr std::size_t kSleepWakeRate = 62;
inline constexpr std::size_t kHostBootTime = 64;
inline constexpr std::size_t kResponseTimeout = 66;
inline constexpr std::size_t kActPinWakeup = 68;
inline constexpr std::size_t kUartBaudMantissa = 69;
inline constexpr std::size_t kUartBaudExponent = 70;
inline constexpr std::size_t kUartControl = 71;
inline constexpr std::size_t kFlipActPin = 72;
inline constexpr std::size_t kFrameStartSync = 73;
inline constexpr std::size_t kFrameStopSync = 74;
inline constexpr std::size_t kFrameMode = 75;
inline constexpr std::size_t kAddrLength = 76;
inline constexpr std::size_t kDownlinkAddrOffset = 77;
inline constexpr std::size_t kUplinkAddrOffset = 78;
inline constexpr std::size_t kBroadcastWildcard = 79;
inline constexpr std::size_t kMulticastWildcard = 80;
inline constexpr std::size_t kFrameLenOffset = 81;
inline constexpr std::size_t kFrameLenAmendment = 82;
inline constexpr std::size_t kFrameEndCheck = 83;
inline constexpr std::size_t kBackoffMantissa = 84;
inline constexpr std::size_t kBackoffExponent = 85;
inline constexpr std::size_t kAutoSleepTimeout = 86;
inline constexpr std::size_t kTimeoutUp = 88;
inline constexpr std::size_t kTimeoutDown = 90;
inline constexpr std::size_t kSyncDuration = 92;
inline constexpr std::size_t kBeaconDuration = 94;
inline constexpr std::size_t kAutoWakeSlot = 96;
inline constexpr std::size_t kWakeWord = 98;
inline constexpr std::size_t kTimingConstant = 100;
inline constexpr std::size_t kCompensationUnit = 101;
inline constexpr std::size_t kSyncInterval = 102;
inline constexpr std::size_t kRepeat = 104;
inline constexpr std::size_t kHandshakeAckCount = 105;
inline constexpr std::size_t kHostAddrInquiryCount = 106;
inline constexpr std::size_t kBroadcastCmd1Count = 107;
inline constexpr std::size_t kBroadcastCmd2Count = 108;
inline constexpr std::size_t kHandshakeAck = 109;
inline constexpr std::size_t kHostAddrInquiry = 157;
inline constexpr std::size_t kBroadcastCmd1 = 205;
inline constexpr std::size_t kBroadcastCmd2 = 253;
inline constexpr std::size_t kCommandLength = 48;
inline constexpr std::size_t kCrc = 516;
}  // namespace FrameOffset

inline constexpr std::array<std::uint8_t, 4> kWriteCommand{'A', 'T', 'W', '0'};
inline constexpr std::array<std::uint8_t, 8> kBlockMagic{'L', 'u', 'm', 'i', 'v', 'a', 'r', 'o'};

// CRC-16/CMS: polynomial 0x8005, initial 0xFFFF, most significant bit first, no reflection and
// no final XOR. A length of 0 or less gives 0xFFFF.
[[nodiscard]] std::uint16_t Crc16Cms(const std::uint8_t* data, std::int32_t length);

// Writes "ATW0" into bytes 0-3 and the CRC of bytes 4-515 into 516 (low) and 517 (high).
void SealFrame(ConfigFrame& frame);

// The acceptance test of a received frame; the first failing check decides.
enum class FrameCheck { Accepted, LengthMismatch, MagicMismatch, CrcMismatch };
[[nodiscard]] FrameCheck CheckFrame(std::span<const std::uint8_t> received);
// The report text of a failed check ("The configuration block CRC error!"), empty for Accepted.
[[nodiscard]] const char* FrameCheckMessage(FrameCheck check);
// Checks 2 and 3 alone, for a frame already known to hold 518 bytes.
[[nodiscard]] FrameCheck CheckFrameContent(const ConfigFrame& frame);

// The working frame at construction: zeros, the default module name at 4-20 with its NUL at 21,
// version minor 6 at 36 and major 1 at 37.
void MakeDefaultWorkFrame(ConfigFrame& frame);

// The module name of a frame as text: bytes 4-27 up to the first NUL, never past the field.
[[nodiscard]] std::string ModuleNameText(const ConfigFrame& frame);
