#include "resources/control_ids.h"
#include "ui/lvcfg_dlg.h"

// The 56 bindings in their fixed order: check boxes, texts, real texts, integer texts, list
// indexes. A text that does not parse stops the exchange there, so the order decides which
// fields a failed save leaves unread.
void CLVCfgDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_AUTO_CONFIG, m_bAutoConfig);
    ConfigSettings& s = m_settings;
    DDX_Check(pDX, IDC_FLOW_CTRL, s.m_bFlowCtrl);
    DDX_Check(pDX, IDC_SLEEP, s.m_bSleep);
    DDX_Check(pDX, IDC_REPEAT, s.m_bRepeat);
    DDX_Check(pDX, IDC_FLIP_ACT_PIN, s.m_bFlipActPin);
    DDX_Text(pDX, IDC_NAME, s.m_strName);
    DDX_Text(pDX, IDC_VERSION, s.m_strVersion);
    DDX_Text(pDX, IDC_TYPE, s.m_strType);
    DDX_Text(pDX, IDC_FREQ_BAND, s.m_strFreqBand);
    DDX_Text(pDX, IDC_POWER_MAX, s.m_strPowerMax);
    DDX_Text(pDX, IDC_MAC, s.m_strMac);
    DDX_Text(pDX, IDC_HANDSHAKE_ACK, s.m_strHandshakeAck);
    DDX_Text(pDX, IDC_BROADCAST_CMD1, s.m_strBroadcastCmd1);
    DDX_Text(pDX, IDC_BROADCAST_CMD2, s.m_strBroadcastCmd2);
    DDX_Text(pDX, IDC_HOST_ADDR_INQUIRY, s.m_strHostAddrInquiry);
    DDX_Text(pDX, IDC_START_FREQ, s.m_dStartFreq);
    DDX_Text(pDX, IDC_CCA_THRESHOLD, s.m_dCcaThreshold);
    DDX_Text(pDX, IDC_MAIN_CHANNEL, s.m_nMainChannel);
    DDX_Text(pDX, IDC_AUX_CH_INTERVAL, s.m_nAuxChInterval);
    DDX_Text(pDX, IDC_AUX_START_CHANNEL, s.m_nAuxStartChannel);
    DDX_Text(pDX, IDC_DOWNLINK_ADDR_OFFSET, s.m_nDownlinkAddrOffset);
    DDX_Text(pDX, IDC_UPLINK_ADDR_OFFSET, s.m_nUplinkAddrOffset);
    DDX_Text(pDX, IDC_ADDR_LENGTH, s.m_nAddrLength);
    DDX_Text(pDX, IDC_AUTO_SLEEP_TIMEOUT, s.m_nAutoSleepTimeout);
    DDX_Text(pDX, IDC_BEACON_DURATION, s.m_nBeaconDuration);
    DDX_Text(pDX, IDC_COMPENSATION_UNIT, s.m_nCompensationUnit);
    DDX_Text(pDX, IDC_HOST_BOOT_TIME, s.m_nHostBootTime);
    DDX_Text(pDX, IDC_FRAME_LEN_AMENDMENT, s.m_nFrameLenAmendment);
    DDX_Text(pDX, IDC_FRAME_LEN_OFFSET, s.m_nFrameLenOffset);
    DDX_Text(pDX, IDC_NETWORK_ID, s.m_nNetworkId);
    DDX_Text(pDX, IDC_RESPONSE_TIMEOUT, s.m_nResponseTimeout);
    DDX_Text(pDX, IDC_TIMEOUT_DOWN, s.m_nTimeoutDown);
    DDX_Text(pDX, IDC_TIMEOUT_UP, s.m_nTimeoutUp);
    DDX_Text(pDX, IDC_SYNC_DURATION, s.m_nSyncDuration);
    DDX_Text(pDX, IDC_SLEEP_WAKE_RATE, s.m_nSleepWakeRate);
    DDX_Text(pDX, IDC_FRAME_STOP_SYNC, s.m_nFrameStopSync);
    DDX_Text(pDX, IDC_FRAME_START_SYNC, s.m_nFrameStartSync);
    DDX_Text(pDX, IDC_BACKOFF_TICK, s.m_nBackoffTick);
    DDX_Text(pDX, IDC_AUTO_WAKE_SLOT, s.m_nAutoWakeSlot);
    DDX_Text(pDX, IDC_BROADCAST_WILDCARD, s.m_nBroadcastWildcard);
    DDX_Text(pDX, IDC_MULTICAST_WILDCARD, s.m_nMulticastWildcard);
    DDX_Text(pDX, IDC_SYNC_INTERVAL, s.m_nSyncInterval);
    DDX_Text(pDX, IDC_UART_WAKEUP_BYTES, s.m_nUartWakeupBytes);
    DDX_CBIndex(pDX, IDC_FRAME_END_CHECK, s.m_iFrameEndCheck);
    DDX_CBIndex(pDX, IDC_RF_BAUD_MAX, s.m_iRfBaudMax);
    DDX_CBIndex(pDX, IDC_RF_BAUD_MIN, s.m_iRfBaudMin);
    DDX_CBIndex(pDX, IDC_ACT_PIN, s.m_iActPin);
    DDX_CBIndex(pDX, IDC_RF_BAUD_DEF, s.m_iRfBaudDef);
    DDX_CBIndex(pDX, IDC_AUX_CH_NUM, s.m_iAuxChNum);
    DDX_CBIndex(pDX, IDC_RF_POWER, s.m_iRfPower);
    DDX_CBIndex(pDX, IDC_UART_BAUD, s.m_iUartBaud);
    DDX_CBIndex(pDX, IDC_UART_START_BIT, s.m_iUartStartBit);
    DDX_CBIndex(pDX, IDC_FRAME_MODE, s.m_iFrameMode);
    DDX_CBIndex(pDX, IDC_UART_PARITY, s.m_iUartParity);
    DDX_CBIndex(pDX, IDC_UART_STOP_BIT, s.m_iUartStopBit);
    DDX_CBIndex(pDX, IDC_DEVICE_NUM, s.m_iDeviceNum);
}
