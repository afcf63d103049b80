#include "model/config_settings.h"

#include <gtest/gtest.h>

#include "model/codec_tables.h"

namespace {

TEST(ConfigSettingsDefaults, FreshRecordShowsTheDocumentedDefaults) {
    const ConfigSettings s(0);
    EXPECT_EQ(s.m_strName, "ORBA AMR KTR5520Q");
    EXPECT_EQ(s.m_strVersion, "1.6");
    EXPECT_EQ(s.m_strType, "UNKNOWN");
    EXPECT_EQ(s.m_strFreqBand, "433MHz");
    EXPECT_EQ(s.m_strPowerMax, "10dBm");
    EXPECT_DOUBLE_EQ(s.m_dStartFreq, 433.0);
    EXPECT_DOUBLE_EQ(s.m_dCcaThreshold, 0.0);
    EXPECT_EQ(s.m_nCrystalMHz, 26);
    EXPECT_EQ(s.m_pBaudMantissa, &BAUD_M_26MHZ);
    EXPECT_EQ(s.m_nAddrLength, 16);
    EXPECT_EQ(s.m_nAuxChInterval, 1);
    EXPECT_EQ(s.m_nHostBootTime, 1);
    EXPECT_EQ(s.m_nResponseTimeout, 1);
    for (int list : {s.m_iRfBaudDef, s.m_iRfBaudMax, s.m_iRfBaudMin, s.m_iAuxChNum, s.m_iActPin,
                     s.m_iRfPower, s.m_iUartBaud, s.m_iUartStartBit, s.m_iFrameMode,
                     s.m_iUartParity, s.m_iUartStopBit, s.m_iDeviceNum, s.m_iFrameEndCheck}) {
        EXPECT_EQ(list, 0);
    }
    for (bool flag : {s.m_bFlowCtrl, s.m_bSleep, s.m_bRepeat, s.m_bFlipActPin}) {
        EXPECT_FALSE(flag);
    }
    EXPECT_TRUE(s.m_strHandshakeAck.empty());
    EXPECT_TRUE(s.m_strHostAddrInquiry.empty());
    EXPECT_TRUE(s.m_strBroadcastCmd1.empty());
    EXPECT_TRUE(s.m_strBroadcastCmd2.empty());
}

TEST(DefaultMacText, IsTheTimeMostSignificantByteFirstThenTwoZeroBytes) {
    EXPECT_EQ(DefaultMacText(0x4E5F1A2B), "4E 5F 1A 2B 00 00");
    EXPECT_EQ(DefaultMacText(0), "00 00 00 00 00 00");
    // Only the low 32 bits of the seconds count.
    EXPECT_EQ(DefaultMacText(static_cast<std::time_t>(0x1'0000'00FFLL)), "00 00 00 FF 00 00");
    EXPECT_EQ(ConfigSettings(0x01020304).m_strMac, "01 02 03 04 00 00");
}

}  // namespace
