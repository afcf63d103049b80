#include <algorithm>

#include "model/codec_tables.h"
#include "model/config_codec.h"
#include "model/frame_bytes.h"
#include "model/hex_text.h"
#include "model/plain_fields.h"

namespace fo = FrameOffset;

namespace {

constexpr int kAuxChNumCount = 5;  // the Aux CH Num list: "1", "2", "4", "8", "16"

constexpr std::uint8_t kUartNoParity = 0x80;
constexpr std::uint8_t kUartOddParity = 0xB8;
constexpr std::uint8_t kUartEvenParity = 0x98;
constexpr std::uint8_t kUartStartHigh = 0x01;
constexpr std::uint8_t kUartStartLow = 0x02;
constexpr std::uint8_t kUartTwoStopBits = 0x04;

void EncodeCommandString(ConfigFrame& frame, const std::string& text, std::size_t countOffset,
                         std::size_t areaOffset) {
    std::uint8_t count = 0;
    HexToBytes(text.c_str(), frame.data() + areaOffset, count,
               static_cast<std::uint8_t>(fo::kCommandLength));
    frame[countOffset] = count;
}

}  // namespace

void ConfigCodec::EncodeFrame(ConfigFrame& frame, FrameBuildOptions options) {
    // A control that does not parse stops the exchange; the build goes on with the record as it
    // stands, so the result is not needed.
    static_cast<void>(m_host.UpdateData(true));
    EncodeMac(frame);
    EncodeNetworkGroup(frame);
    EncodeFrequency(frame);
    EncodeUartGroup(frame);
    EncodeCommandStrings(frame);
    EncodeTimingGroup(frame, options);
}

void ConfigCodec::EncodeMac(ConfigFrame& frame) {
    std::uint8_t count = 0;
    MacTextToBytes(m_s.m_strMac.c_str(), frame.data() + fo::kMac, count,
                   static_cast<std::uint8_t>(fo::kMacLength));
    std::fill(frame.begin() + fo::kMac + count, frame.begin() + fo::kMac + fo::kMacLength, 0);
}

void ConfigCodec::EncodeNetworkGroup(ConfigFrame& frame) {
    ClampPlainFields(PlainGroup::Network);
    // A module that never wakes cannot sleep.
    if (m_s.m_nSleepWakeRate == 0) {
        m_s.m_bSleep = false;
    }
    PutPlainFields(m_s, PlainGroup::Network, frame);

    // The ID was validated above, but a command run from a later warning box (a module arriving
    // in Auto Config mode) can change the record meanwhile: the table is never indexed with
    // anything but a high byte.
    const int networkId = std::clamp(m_s.m_nNetworkId, 0, 0xFFFF);
    PutU8(frame, fo::kNetworkIdLow, networkId);
    PutU16(frame, fo::kSyncWord, SYNC_WORD_TABLE[static_cast<std::size_t>(networkId) >> 8]);

    // Bits 1-7 of the flip byte belong to the module and are left as read.
    if (m_s.m_bFlipActPin) {
        frame[fo::kFlipActPin] |= 0x01;
    } else {
        frame[fo::kFlipActPin] &= 0xFE;
    }
}

void ConfigCodec::EncodeFrequency(ConfigFrame& frame) {
    ClampSetting(&ConfigSettings::m_dStartFreq);
    // Adding one half before truncation rounds the positive word to the nearest, halves up.
    const auto word =
        static_cast<std::int32_t>(m_s.m_dStartFreq * 65536.0 / m_s.m_nCrystalMHz + 0.5);
    frame[fo::kFreqWord] = static_cast<std::uint8_t>(word & 0xFF);
    frame[fo::kFreqWord + 1] = static_cast<std::uint8_t>((word >> 8) & 0xFF);
    frame[fo::kFreqWord + 2] = static_cast<std::uint8_t>((word >> 16) & 0xFF);

    // The mask of n auxiliary channels is 2^n - 1. A list without a choice (-1), or a position
    // past the list, writes 0xFF like every other list without a choice.
    const int auxChNum = m_s.m_iAuxChNum;
    frame[fo::kAuxChMask] = (auxChNum >= 0 && auxChNum < kAuxChNumCount)
                                ? static_cast<std::uint8_t>((1 << auxChNum) - 1)
                                : std::uint8_t{0xFF};
}

void ConfigCodec::EncodeUartGroup(ConfigFrame& frame) {
    const int baud = m_s.m_iUartBaud;
    // A baud position outside the list (13 after a frame whose pair matched no item, -1 when the
    // list shows no choice) keeps bytes 69-70 as they are, so a module's unknown baud setting
    // survives reading and writing it back.
    if (baud >= 0 && static_cast<std::size_t>(baud) < kUartBaudCount) {
        const auto index = static_cast<std::size_t>(baud);
        frame[fo::kUartBaudMantissa] = (*m_s.m_pBaudMantissa)[index];
        frame[fo::kUartBaudExponent] = BAUD_E_TABLE[index];
    }

    std::uint8_t control = kUartEvenParity;
    if (m_s.m_iUartParity == 0) {
        control = kUartNoParity;
    } else if (m_s.m_iUartParity == 1) {
        control = kUartOddParity;
    }
    control |= (m_s.m_iUartStartBit != 0) ? kUartStartHigh : kUartStartLow;
    if (m_s.m_iUartStopBit != 0) {
        control |= kUartTwoStopBits;
    }
    frame[fo::kUartControl] = control;

    ClampPlainFields(PlainGroup::Uart);
    PutPlainFields(m_s, PlainGroup::Uart, frame);
    PutU8(frame, fo::kActPinWakeup, ((m_s.m_nUartWakeupBytes & 0x3F) << 2) | m_s.m_iActPin);
}

void ConfigCodec::EncodeCommandStrings(ConfigFrame& frame) {
    EncodeCommandString(frame, m_s.m_strHandshakeAck, fo::kHandshakeAckCount, fo::kHandshakeAck);
    EncodeCommandString(frame, m_s.m_strHostAddrInquiry, fo::kHostAddrInquiryCount,
                        fo::kHostAddrInquiry);
    EncodeCommandString(frame, m_s.m_strBroadcastCmd1, fo::kBroadcastCmd1Count, fo::kBroadcastCmd1);
    EncodeCommandString(frame, m_s.m_strBroadcastCmd2, fo::kBroadcastCmd2Count, fo::kBroadcastCmd2);
}
