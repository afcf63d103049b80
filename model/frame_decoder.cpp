#include <algorithm>
#include <array>
#include <span>
#include <utility>

#include "model/codec_tables.h"
#include "model/config_codec.h"
#include "model/frame_bytes.h"
#include "model/hex_text.h"
#include "model/identity_text.h"
#include "model/mac_address.h"
#include "model/plain_fields.h"

namespace fo = FrameOffset;

namespace {

constexpr int kUnknownSyncHighByte = 255;
constexpr int kNoUartBaudMatch = static_cast<int>(kUartBaudCount);  // one past the last item

// The position of the highest set bit plus one: masks 0x00, 0x01, 0x03, 0x07, 0x0F give 0-4.
int BitLength(std::uint8_t value) {
    int length = 0;
    while (value != 0) {
        ++length;
        value = static_cast<std::uint8_t>(value >> 1);
    }
    return length;
}

}  // namespace

void ConfigCodec::DecodeFrame(const ConfigFrame& frame) {
    DecodeIdentity(frame);
    DecodeNetworkGroup(frame);
    DecodeFrequency(frame);
    DecodeUartGroup(frame);
    DecodeCommandStrings(frame);
    DecodeTimingGroup(frame);
    m_host.UpdateData(false);
}

void ConfigCodec::DecodeIdentity(const ConfigFrame& frame) {
    IdentityText identity = IdentityTextOf(frame);
    m_s.m_strVersion = std::move(identity.version);
    m_s.m_strType = std::move(identity.type);
    m_s.m_strPowerMax = std::move(identity.powerMax);
    if (frame[fo::kPowerClass] == '2') {
        m_s.m_nPowerMaxDbm = 20;
        m_host.FillRfPowerList(std::span<const char* const>(RF_POWER_LIST_20DBM));
    } else {
        m_s.m_nPowerMaxDbm = 10;
        m_host.FillRfPowerList(std::span<const char* const>(RF_POWER_LIST_10DBM));
    }

    m_s.m_strFreqBand = std::move(identity.freqBand);
    m_s.m_nBandMHz = frame[fo::kBandDigit2] == '7' ? 470 : 433;

    if (frame[fo::kCrystal] == '7') {
        m_s.m_nCrystalMHz = 27;
        m_s.m_pBaudMantissa = &BAUD_M_27MHZ;
    } else {
        m_s.m_nCrystalMHz = 26;
        m_s.m_pBaudMantissa = &BAUD_M_26MHZ;
    }

    m_s.m_strMac = MacHexText(MacOfFrame(frame));
}

void ConfigCodec::DecodeNetworkGroup(const ConfigFrame& frame) {
    const std::uint16_t syncWord = GetU16(frame, fo::kSyncWord);
    // A sync word outside the table belongs to no high byte and reads as 255.
    const auto searched = SYNC_WORD_TABLE.begin() + kUnknownSyncHighByte;
    const auto found = std::find(SYNC_WORD_TABLE.begin(), searched, syncWord);
    const int highByte = static_cast<int>(found - SYNC_WORD_TABLE.begin());
    m_s.m_nNetworkId = 256 * highByte + frame[fo::kNetworkIdLow];

    GetPlainFields(m_s, PlainGroup::Network, frame);
    m_s.m_bFlipActPin = (frame[fo::kFlipActPin] & 0x01) != 0;
    m_s.m_iActPin = frame[fo::kActPinWakeup] & 0x03;
}

void ConfigCodec::DecodeFrequency(const ConfigFrame& frame) {
    const std::int32_t word =
        frame[fo::kFreqWord] | (frame[fo::kFreqWord + 1] << 8) | (frame[fo::kFreqWord + 2] << 16);
    m_s.m_dStartFreq = static_cast<double>(word) * m_s.m_nCrystalMHz / 65536.0;
    m_s.m_iAuxChNum = BitLength(frame[fo::kAuxChMask]);
}

void ConfigCodec::DecodeUartGroup(const ConfigFrame& frame) {
    m_s.m_iUartBaud = kNoUartBaudMatch;
    for (std::size_t i = 0; i < kUartBaudCount; ++i) {
        if ((*m_s.m_pBaudMantissa)[i] == frame[fo::kUartBaudMantissa] &&
            BAUD_E_TABLE[i] == frame[fo::kUartBaudExponent]) {
            m_s.m_iUartBaud = static_cast<int>(i);
            break;
        }
    }

    const std::uint8_t control = frame[fo::kUartControl];
    m_s.m_iUartStartBit = control & 0x01;
    m_s.m_iUartStopBit = (control >> 2) & 0x01;
    if ((control & 0x08) == 0) {
        m_s.m_iUartParity = 0;
    } else {
        m_s.m_iUartParity = (control & 0x20) != 0 ? 1 : 2;
    }

    GetPlainFields(m_s, PlainGroup::Uart, frame);
    m_s.m_nUartWakeupBytes = frame[fo::kActPinWakeup] >> 2;
}

void ConfigCodec::DecodeCommandStrings(const ConfigFrame& frame) {
    const auto decode = [&](std::string& text, std::size_t countOffset, std::size_t areaOffset) {
        // A count past the 48-byte area (a damaged or foreign frame) reads the whole area and
        // no further.
        const auto count = static_cast<std::uint8_t>(
            std::min<std::size_t>(frame[countOffset], fo::kCommandLength));
        std::array<char, 3 * fo::kCommandLength> hex{};
        BytesToHex(hex.data(), frame.data() + areaOffset, count);
        text = hex.data();
    };
    decode(m_s.m_strHandshakeAck, fo::kHandshakeAckCount, fo::kHandshakeAck);
    decode(m_s.m_strHostAddrInquiry, fo::kHostAddrInquiryCount, fo::kHostAddrInquiry);
    decode(m_s.m_strBroadcastCmd1, fo::kBroadcastCmd1Count, fo::kBroadcastCmd1);
    decode(m_s.m_strBroadcastCmd2, fo::kBroadcastCmd2Count, fo::kBroadcastCmd2);
}
