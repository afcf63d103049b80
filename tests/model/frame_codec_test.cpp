#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "codec_rig.h"
#include "model/codec_tables.h"

namespace fo = FrameOffset;

namespace {

std::vector<std::uint8_t> Bytes(const ConfigFrame& frame, std::size_t offset, std::size_t n) {
    return std::vector<std::uint8_t>(frame.begin() + offset, frame.begin() + offset + n);
}

class FrameCodec : public testing::Test {
  protected:
    CodecRig rig;
};

TEST_F(FrameCodec, StartFrequencyWordAt26MHz) {
    rig.settings.m_dStartFreq = 433.0;
    rig.codec.EncodeFrequency(rig.frame);
    EXPECT_EQ(Bytes(rig.frame, fo::kFreqWord, 3), (std::vector<std::uint8_t>{0x62, 0xA7, 0x10}));
    rig.codec.DecodeFrequency(rig.frame);
    EXPECT_EQ(rig.settings.m_dStartFreq, 432.99981689453125);
    const ConfigFrame first = rig.frame;
    rig.codec.EncodeFrequency(rig.frame);
    EXPECT_EQ(rig.frame, first);
}

TEST_F(FrameCodec, StartFrequencyWordAt27MHz) {
    rig.UseCrystal('7');
    rig.settings.m_dStartFreq = 433.0;
    rig.codec.EncodeFrequency(rig.frame);
    EXPECT_EQ(Bytes(rig.frame, fo::kFreqWord, 3), (std::vector<std::uint8_t>{0x7B, 0x09, 0x10}));
    rig.codec.DecodeFrequency(rig.frame);
    EXPECT_EQ(rig.settings.m_dStartFreq, 432.99989318847656);
    const ConfigFrame first = rig.frame;
    rig.codec.EncodeFrequency(rig.frame);
    EXPECT_EQ(rig.frame, first);
}

TEST_F(FrameCodec, NetworkIdSelectsTheSyncWordOfItsHighByte) {
    rig.settings.m_nNetworkId = 0x1234;
    rig.codec.EncodeNetworkGroup(rig.frame);
    EXPECT_EQ(rig.frame[44], 0x34);
    EXPECT_EQ(rig.frame[45], 0x27);
    EXPECT_EQ(rig.frame[46], 0x1B);
    rig.settings.m_nNetworkId = 0;
    rig.codec.DecodeNetworkGroup(rig.frame);
    EXPECT_EQ(rig.settings.m_nNetworkId, 0x1234);
}

TEST_F(FrameCodec, UnknownSyncWordDecodesToHighByte255) {
    rig.frame[44] = 0x34;
    rig.frame[45] = 0x00;
    rig.frame[46] = 0x00;
    rig.codec.DecodeNetworkGroup(rig.frame);
    EXPECT_EQ(rig.settings.m_nNetworkId, 0xFF34);
}

struct UartControlCase {
    const char* name;
    int parity;
    int startBit;
    int stopBit;
    std::uint8_t byte;
};

class UartControl : public testing::TestWithParam<UartControlCase> {};

TEST_P(UartControl, EncodesAndDecodesByte71) {
    const UartControlCase& c = GetParam();
    CodecRig rig;
    rig.settings.m_iUartParity = c.parity;
    rig.settings.m_iUartStartBit = c.startBit;
    rig.settings.m_iUartStopBit = c.stopBit;
    rig.codec.EncodeUartGroup(rig.frame);
    EXPECT_EQ(rig.frame[fo::kUartControl], c.byte);
    rig.settings.m_iUartParity = rig.settings.m_iUartStartBit = rig.settings.m_iUartStopBit = 9;
    rig.codec.DecodeUartGroup(rig.frame);
    EXPECT_EQ(rig.settings.m_iUartParity, c.parity);
    EXPECT_EQ(rig.settings.m_iUartStartBit, c.startBit);
    EXPECT_EQ(rig.settings.m_iUartStopBit, c.stopBit);
}

INSTANTIATE_TEST_SUITE_P(Settings, UartControl,
                         testing::Values(UartControlCase{"OddHighTwoStops", 1, 1, 1, 0xBD},
                                         UartControlCase{"NoneLowOneStop", 0, 0, 0, 0x82},
                                         UartControlCase{"EvenLowTwoStops", 2, 0, 1, 0x9E}),
                         [](const testing::TestParamInfo<UartControlCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(FrameCodec, UartBaudUsesTheMantissaOfTheCrystal) {
    rig.settings.m_iUartBaud = 11;
    rig.codec.EncodeUartGroup(rig.frame);
    EXPECT_EQ(rig.frame[69], 0x22);
    EXPECT_EQ(rig.frame[70], 0x0C);
    rig.UseCrystal('7');
    rig.settings.m_iUartBaud = 11;
    rig.codec.EncodeUartGroup(rig.frame);
    EXPECT_EQ(rig.frame[69], 0x18);
    EXPECT_EQ(rig.frame[70], 0x0C);
}

TEST_F(FrameCodec, UartBaudPairDecodesPerCrystal) {
    ConfigFrame frame = CodecRig::ModuleFrame('6');
    frame[69] = 0x83;
    frame[70] = 0x09;
    rig.codec.DecodeFrame(frame);
    EXPECT_EQ(rig.settings.m_iUartBaud, 6);
    frame[fo::kCrystal] = '7';
    rig.codec.DecodeFrame(frame);
    EXPECT_EQ(rig.settings.m_iUartBaud, 13);
    EXPECT_EQ(rig.host.controls.m_iUartBaud, -1);  // the list cannot show position 13
}

// A module's baud pair that matches no list item survives a read, modify and write.
TEST_F(FrameCodec, UartBaudOutsideTheListKeepsBytes69And70) {
    for (int position : {13, -1, 100}) {
        rig.frame[69] = 0x44;
        rig.frame[70] = 0x07;
        rig.settings.m_iUartBaud = position;
        rig.codec.EncodeUartGroup(rig.frame);
        EXPECT_EQ(rig.frame[69], 0x44) << position;
        EXPECT_EQ(rig.frame[70], 0x07) << position;
    }
}

TEST_F(FrameCodec, WakeupBytesAndActPinShareByte68) {
    rig.settings.m_nUartWakeupBytes = 63;
    rig.settings.m_iActPin = 2;
    rig.codec.EncodeUartGroup(rig.frame);
    EXPECT_EQ(rig.frame[68], 0xFE);
    rig.settings.m_nUartWakeupBytes = rig.settings.m_iActPin = 0;
    rig.codec.DecodeUartGroup(rig.frame);
    rig.codec.DecodeNetworkGroup(rig.frame);
    EXPECT_EQ(rig.settings.m_nUartWakeupBytes, 63);
    EXPECT_EQ(rig.settings.m_iActPin, 2);
}

TEST_F(FrameCodec, AuxChannelCountIsAMask) {
    const std::uint8_t masks[] = {0x00, 0x01, 0x03, 0x07, 0x0F};
    for (int position = 0; position < 5; ++position) {
        rig.settings.m_iAuxChNum = position;
        rig.codec.EncodeFrequency(rig.frame);
        EXPECT_EQ(rig.frame[fo::kAuxChMask], masks[position]);
        rig.settings.m_iAuxChNum = -7;
        rig.codec.DecodeFrequency(rig.frame);
        EXPECT_EQ(rig.settings.m_iAuxChNum, position);
    }
    rig.frame[fo::kAuxChMask] = 0x05;
    rig.codec.DecodeFrequency(rig.frame);
    EXPECT_EQ(rig.settings.m_iAuxChNum, 3);
    rig.frame[fo::kAuxChMask] = 0x80;
    rig.codec.DecodeFrequency(rig.frame);
    EXPECT_EQ(rig.settings.m_iAuxChNum, 8);
}

// Every list without a choice writes 0xFF, the auxiliary count included.
TEST_F(FrameCodec, AuxChannelCountWithoutAChoiceWrites0xFF) {
    for (int position : {-1, 5, 8}) {
        rig.settings.m_iAuxChNum = position;
        rig.codec.EncodeFrequency(rig.frame);
        EXPECT_EQ(rig.frame[fo::kAuxChMask], 0xFF) << position;
    }
}

TEST_F(FrameCodec, ZeroSleepWakeRateClearsTheSleepFlag) {
    rig.settings.m_nSleepWakeRate = 0;
    rig.settings.m_bSleep = 1;
    rig.codec.EncodeNetworkGroup(rig.frame);
    EXPECT_EQ(rig.frame[fo::kSleep], 0);
    EXPECT_EQ(rig.settings.m_bSleep, 0);
    rig.settings.m_nSleepWakeRate = 10;
    rig.settings.m_bSleep = 1;
    rig.codec.EncodeNetworkGroup(rig.frame);
    EXPECT_EQ(rig.frame[fo::kSleep], 1);
}

TEST_F(FrameCodec, FlipActPinLeavesTheOtherBitsOfByte72) {
    rig.frame[72] = 0xFF;
    rig.codec.DecodeNetworkGroup(rig.frame);
    EXPECT_EQ(rig.settings.m_bFlipActPin, 1);
    rig.settings.m_bFlipActPin = 0;
    rig.codec.EncodeNetworkGroup(rig.frame);
    EXPECT_EQ(rig.frame[72], 0xFE);
    rig.frame[72] = 0x40;
    rig.settings.m_bFlipActPin = 1;
    rig.codec.EncodeNetworkGroup(rig.frame);
    EXPECT_EQ(rig.frame[72], 0x41);
}

struct MacCase {
    const char* name;
    const char* text;
    std::vector<std::uint8_t> bytes;
};

class MacText : public testing::TestWithParam<MacCase> {};

TEST_P(MacText, EncodesSixBytesPaddedWithZeros) {
    CodecRig rig;
    rig.frame.fill(0xAA);
    rig.settings.m_strMac = GetParam().text;
    rig.codec.EncodeMac(rig.frame);
    EXPECT_EQ(Bytes(rig.frame, fo::kMac, 6), GetParam().bytes);
    EXPECT_EQ(rig.frame[37], 0xAA);
    EXPECT_EQ(rig.frame[44], 0xAA);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, MacText,
    testing::Values(MacCase{"TwoGroups", "12-34", {0x12, 0x34, 0, 0, 0, 0}},
                    MacCase{"OneRunReadAsPairs", "4C5600000001", {0x4C, 0x56, 0, 0, 0, 1}},
                    MacCase{"LongRunKeepsTheFirstSixPairs",
                            "1A2B3C4D5E6F7A",
                            {0x1A, 0x2B, 0x3C, 0x4D, 0x5E, 0x6F}},
                    MacCase{"OddRunEndsInAByteOfItsOwn", "ABC", {0xAB, 0x0C, 0, 0, 0, 0}},
                    MacCase{"RunsBetweenSeparators", "4C56:0000-01", {0x4C, 0x56, 0, 0, 1, 0}},
                    MacCase{"BlankSeparated", "4C 56 00 00 00 01", {0x4C, 0x56, 0, 0, 0, 1}},
                    MacCase{"ColonSeparatedShortForm", "ab:cd", {0xAB, 0xCD, 0, 0, 0, 0}},
                    MacCase{"SingleDigits", "1 2", {1, 2, 0, 0, 0, 0}},
                    MacCase{"SevenGroups", "01 02 03 04 05 06 07", {1, 2, 3, 4, 5, 6}},
                    MacCase{"Empty", "", {0, 0, 0, 0, 0, 0}}),
    [](const testing::TestParamInfo<MacCase>& info) { return std::string(info.param.name); });

TEST_F(FrameCodec, MacDecodesToCanonicalText) {
    ConfigFrame frame = CodecRig::ModuleFrame();
    const std::uint8_t mac[] = {0x4E, 0x5F, 0x1A, 0x2B, 0x00, 0x0F};
    std::copy(std::begin(mac), std::end(mac), frame.begin() + fo::kMac);
    rig.codec.DecodeIdentity(frame);
    EXPECT_EQ(rig.settings.m_strMac, "4E 5F 1A 2B 00 0F");
}

TEST_F(FrameCodec, IdentityDecodesTypeVersionBandAndPower) {
    ConfigFrame frame = CodecRig::ModuleFrame('7', '2');
    frame[fo::kType] = 'R';
    frame[fo::kBandDigit2] = '7';
    frame[fo::kBandDigit3] = '0';
    frame[fo::kVersionMajor] = 12;
    frame[fo::kVersionMinor] = 255;
    rig.settings.m_strName = "kept";
    rig.codec.DecodeIdentity(frame);
    EXPECT_EQ(rig.settings.m_strType, "ROOT");
    EXPECT_EQ(rig.settings.m_strVersion, "12.255");
    EXPECT_EQ(rig.settings.m_strFreqBand, "470MHz");
    EXPECT_EQ(rig.settings.m_nBandMHz, 470);
    EXPECT_EQ(rig.settings.m_strPowerMax, "20dBm");
    EXPECT_EQ(rig.settings.m_nPowerMaxDbm, 20);
    EXPECT_EQ(rig.settings.m_nCrystalMHz, 27);
    EXPECT_EQ(rig.settings.m_pBaudMantissa, &BAUD_M_27MHZ);
    EXPECT_EQ(rig.settings.m_strName, "kept");

    frame[fo::kType] = 'x';
    frame[fo::kBandDigit2] = '3';
    frame[fo::kCrystal] = '6';
    frame[fo::kPowerClass] = '1';
    rig.codec.DecodeIdentity(frame);
    EXPECT_EQ(rig.settings.m_strType, "UNKNOWN");
    EXPECT_EQ(rig.settings.m_nBandMHz, 433);
    EXPECT_EQ(rig.settings.m_nCrystalMHz, 26);
    EXPECT_EQ(rig.settings.m_pBaudMantissa, &BAUD_M_26MHZ);
    EXPECT_EQ(rig.settings.m_strPowerMax, "10dBm");
    EXPECT_EQ(rig.settings.m_nPowerMaxDbm, 10);
    frame[fo::kType] = 'N';
    rig.codec.DecodeIdentity(frame);
    EXPECT_EQ(rig.settings.m_strType, "NODE");
}

TEST_F(FrameCodec, PowerClassRefillsTheRfPowerListOnEveryDecode) {
    ConfigFrame frame = CodecRig::ModuleFrame('6', '2');
    frame[fo::kRfPower] = 3;
    rig.codec.DecodeFrame(frame);
    ASSERT_EQ(rig.host.rfPowerFills.size(), 1u);
    EXPECT_EQ(rig.host.rfPowerFills[0].front(), "+20dBm");
    EXPECT_EQ(rig.host.ShownRfPower(), "+10dBm");
    frame[fo::kPowerClass] = '1';
    rig.codec.DecodeFrame(frame);
    ASSERT_EQ(rig.host.rfPowerFills.size(), 2u);
    EXPECT_EQ(rig.host.ShownRfPower(), "+00dBm");
}

TEST_F(FrameCodec, CommandTextOf49GroupsStoresTheFirst48) {
    std::string text;
    for (int i = 1; i <= 49; ++i) {
        text += std::to_string(i % 100) + " ";
    }
    rig.settings.m_strBroadcastCmd1 = text;
    rig.codec.EncodeCommandStrings(rig.frame);
    EXPECT_EQ(rig.frame[fo::kBroadcastCmd1Count], 48);
    EXPECT_EQ(rig.frame[fo::kBroadcastCmd1], 0x01);
    EXPECT_EQ(rig.frame[fo::kBroadcastCmd1 + 47], 0x48);
    EXPECT_EQ(rig.frame[fo::kBroadcastCmd2], 0);  // the next area is untouched
}

TEST_F(FrameCodec, ShorterCommandTextLeavesTheRestOfItsArea) {
    rig.frame.fill(0xAA);
    rig.settings.m_strHandshakeAck = "01 02";
    rig.settings.m_strHostAddrInquiry = "";
    rig.settings.m_strBroadcastCmd1 = "ff";
    rig.settings.m_strBroadcastCmd2 = "1 2 3";
    rig.codec.EncodeCommandStrings(rig.frame);
    EXPECT_EQ(Bytes(rig.frame, 105, 4), (std::vector<std::uint8_t>{2, 0, 1, 3}));
    EXPECT_EQ(Bytes(rig.frame, 109, 3), (std::vector<std::uint8_t>{1, 2, 0xAA}));
    EXPECT_EQ(rig.frame[157], 0xAA);
    EXPECT_EQ(Bytes(rig.frame, 205, 2), (std::vector<std::uint8_t>{0xFF, 0xAA}));
    EXPECT_EQ(Bytes(rig.frame, 253, 4), (std::vector<std::uint8_t>{1, 2, 3, 0xAA}));
    EXPECT_EQ(rig.frame[301], 0xAA);

    rig.codec.DecodeCommandStrings(rig.frame);
    EXPECT_EQ(rig.settings.m_strHandshakeAck, "01 02");
    EXPECT_EQ(rig.settings.m_strHostAddrInquiry, "");
    EXPECT_EQ(rig.settings.m_strBroadcastCmd1, "FF");
    EXPECT_EQ(rig.settings.m_strBroadcastCmd2, "01 02 03");
}

// A damaged count reads the whole 48-byte area and nothing past it.
TEST_F(FrameCodec, CommandCountAbove48ReadsTheWholeArea) {
    rig.frame.fill(0x11);
    rig.frame[fo::kHandshakeAckCount] = 200;
    rig.frame[fo::kHostAddrInquiryCount] = 49;
    rig.frame[fo::kHostAddrInquiry + 48] = 0x99;  // first byte of the next area
    rig.codec.DecodeCommandStrings(rig.frame);
    std::string expected;
    for (int i = 0; i < 48; ++i) {
        expected += i == 0 ? "11" : " 11";
    }
    EXPECT_EQ(rig.settings.m_strHandshakeAck, expected);
    EXPECT_EQ(rig.settings.m_strHostAddrInquiry, expected);
}

// Lists showing a position past their end (or none) read back -1 and write 0xFF.
TEST_F(FrameCodec, DecodedPositionsPastTheListsWrite0xFFNextTime) {
    rig.ShowAdvanced();
    ConfigFrame frame = CodecRig::ModuleFrame();
    frame[fo::kRfPower] = 9;
    frame[fo::kAuxChMask] = 0x10;
    frame[fo::kDeviceNum] = 3;
    frame[fo::kFrameEndCheck] = 4;
    frame[fo::kFrameMode] = 2;
    frame[fo::kRfBaudMin] = 12;
    rig.codec.DecodeFrame(frame);
    EXPECT_EQ(rig.settings.m_iAuxChNum, 5);
    EXPECT_EQ(rig.host.controls.m_iAuxChNum, -1);
    EXPECT_EQ(rig.host.controls.m_iRfPower, -1);
    rig.TypeValidTimings();
    rig.codec.EncodeFrame(rig.frame, rig.options);
    EXPECT_EQ(rig.frame[fo::kRfPower], 0xFF);
    EXPECT_EQ(rig.frame[fo::kAuxChMask], 0xFF);
    EXPECT_EQ(rig.frame[fo::kDeviceNum], 0xFF);
    EXPECT_EQ(rig.frame[fo::kFrameEndCheck], 0xFF);
    EXPECT_EQ(rig.frame[fo::kFrameMode], 0xFF);
    EXPECT_EQ(rig.frame[fo::kRfBaudMin], 0xFF);
}

TEST_F(FrameCodec, EncodeStartsWithASaveExchangeAndDecodeEndsWithALoad) {
    rig.ShowAdvanced();
    rig.TypeValidTimings();
    rig.host.controls.m_nNetworkId = 0x0102;
    rig.codec.EncodeFrame(rig.frame, rig.options);
    EXPECT_EQ(rig.host.saveExchanges, 1);
    EXPECT_EQ(rig.host.loadExchanges, 0);
    EXPECT_EQ(rig.frame[44], 0x02);

    ConfigFrame other = CodecRig::ModuleFrame();
    other[fo::kMainChannel] = 77;
    rig.codec.DecodeFrame(other);
    EXPECT_EQ(rig.host.loadExchanges, 1);
    EXPECT_EQ(rig.host.controls.m_nMainChannel, 77);
}

// An unparsable control stops the exchange; encoding goes on with the record as it stands.
TEST_F(FrameCodec, FailedSaveExchangeStillBuildsTheWholeFrame) {
    rig.ShowAdvanced();
    rig.TypeValidTimings();
    rig.settings.m_nNetworkId = 0x0203;
    rig.host.controls.m_nNetworkId = 0x0405;
    rig.host.controls.m_nMainChannel = 9;
    rig.host.failSaveAtBinding =
        static_cast<int>(FindSettingField("network_id") - SettingFields().data()) + 1;
    rig.frame[fo::kTimingConstant] = 0;
    rig.codec.EncodeFrame(rig.frame, rig.options);
    EXPECT_EQ(rig.frame[fo::kMainChannel], 9);   // bound before the Network ID
    EXPECT_EQ(rig.frame[fo::kNetworkIdLow], 3);  // the record's value
    EXPECT_EQ(rig.frame[fo::kTimingConstant], 6);
}

}  // namespace
