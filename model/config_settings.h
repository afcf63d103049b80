#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <string>

#include "model/codec_tables.h"

// One module configuration as the user sees and edits it, and the module facts a decoded frame
// reveals (crystal, band, power class). Plain data: the members keep the order in which the
// window declares them, and the codec, the checks and the window's exchange reach them directly.
struct ConfigSettings {
    // Defaults of every member; the default MAC text comes from `nowSeconds`, the calendar time
    // in seconds since 1970-01-01 UTC (injectable so a test can fix the clock).
    explicit ConfigSettings(std::time_t nowSeconds = std::time(nullptr));

    bool m_bFlowCtrl = false;
    bool m_bSleep = false;
    bool m_bRepeat = false;
    bool m_bFlipActPin = false;
    std::string m_strName = "ORBA AMR KTR5520Q";
    std::string m_strVersion = "1.6";
    std::string m_strType = "UNKNOWN";
    std::string m_strFreqBand = "433MHz";
    std::string m_strPowerMax = "10dBm";
    std::string m_strMac;
    std::string m_strHandshakeAck;
    std::string m_strBroadcastCmd1;
    std::string m_strBroadcastCmd2;
    std::string m_strHostAddrInquiry;
    double m_dStartFreq = 433.0;
    double m_dCcaThreshold = 0.0;
    int m_nCrystalMHz = 26;
    int m_nBandMHz = 433;
    int m_nPowerMaxDbm = 10;
    int m_iRfBaudDef = 0;
    int m_nMainChannel = 0;
    int m_nAuxChInterval = 1;
    int m_iAuxChNum = 0;
    int m_nAuxStartChannel = 0;
    int m_iRfBaudMax = 0;
    int m_iRfBaudMin = 0;
    int m_iActPin = 0;
    int m_nDownlinkAddrOffset = 0;
    int m_nUplinkAddrOffset = 0;
    int m_nAddrLength = 16;
    int m_nAutoSleepTimeout = 0;
    int m_nBeaconDuration = 0;
    int m_nCompensationUnit = 0;
    int m_nHostBootTime = 1;
    int m_nFrameLenAmendment = 0;
    int m_nFrameLenOffset = 0;
    int m_nNetworkId = 0;
    int m_nResponseTimeout = 1;
    int m_nTimeoutDown = 0;
    int m_iRfPower = 0;
    int m_nTimeoutUp = 0;
    int m_nSyncDuration = 0;
    int m_nSleepWakeRate = 0;
    int m_nFrameStopSync = 0;
    int m_nFrameStartSync = 0;
    int m_iUartBaud = 0;
    int m_iUartStartBit = 0;
    int m_iFrameMode = 0;
    int m_iUartParity = 0;
    int m_iUartStopBit = 0;
    int m_nBackoffTick = 0;
    int m_nAutoWakeSlot = 0;
    int m_nBroadcastWildcard = 0;
    int m_nMulticastWildcard = 0;
    int m_nUartWakeupBytes = 0;
    int m_iDeviceNum = 0;
    int m_nSyncInterval = 0;
    int m_iFrameEndCheck = 0;
    // The UART baud mantissa table of the module's crystal; set with m_nCrystalMHz.
    const BaudMantissaTable* m_pBaudMantissa = &BAUD_M_26MHZ;
};

// The default MAC text for a calendar time: the low 32 bits of the seconds, most significant
// byte first, then two zero bytes ("4E 5F 1A 2B 00 00").
std::string DefaultMacText(std::time_t nowSeconds);
