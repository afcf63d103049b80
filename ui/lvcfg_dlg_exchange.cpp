#include "resources/control_ids.h"
#include "ui/lvcfg_dlg.h"

// The 56 bindings in their fixed order: check boxes, texts, real texts, integer texts, list
// indexes. A text that does not parse stops the exchange there, so the order decides which
// fields a failed save leaves unread.
void CLVCfgDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_AUTO_CONFIG, m_bAutoConfig);
    DDX_Check(pDX, IDC_FLOW_CTRL, m_bFlowCtrl);
    DDX_Check(pDX, IDC_SLEEP, m_bSleep);
    DDX_Check(pDX, IDC_REPEAT, m_bRepeat);
    DDX_Check(pDX, IDC_FLIP_ACT_PIN, m_bFlipActPin);
    DDX_Text(pDX, IDC_NAME, m_strName);
    DDX_Text(pDX, IDC_VERSION, m_strVersion);
    DDX_Text(pDX, IDC_TYPE, m_strType);
    DDX_Text(pDX, IDC_FREQ_BAND, m_strFreqBand);
    DDX_Text(pDX, IDC_POWER_MAX, m_strPowerMax);
    DDX_Text(pDX, IDC_MAC, m_strMac);
    DDX_Text(pDX, IDC_HANDSHAKE_ACK, m_strHandshakeAck);
    DDX_Text(pDX, IDC_BROADCAST_CMD1, m_strBroadcastCmd1);
    DDX_Text(pDX, IDC_BROADCAST_CMD2, m_strBroadcastCmd2);
    DDX_Text(pDX, IDC_HOST_ADDR_INQUIRY, m_strHostAddrInquiry);
    DDX_Text(pDX, IDC_START_FREQ, m_dStartFreq);
    DDX_Text(pDX, IDC_CCA_THRESHOLD, m_dCcaThreshold);
    DDX_Text(pDX, IDC_MAIN_CHANNEL, m_nMainChannel);
    DDX_Text(pDX, IDC_AUX_CH_INTERVAL, m_nAuxChInterval);
    DDX_Text(pDX, IDC_AUX_START_CHANNEL, m_nAuxStartChannel);
    DDX_Text(pDX, IDC_DOWNLINK_ADDR_OFFSET, m_nDownlinkAddrOffset);
    DDX_Text(pDX, IDC_UPLINK_ADDR_OFFSET, m_nUplinkAddrOffset);
    DDX_Text(pDX, IDC_ADDR_LENGTH, m_nAddrLength);
    DDX_Text(pDX, IDC_AUTO_SLEEP_TIMEOUT, m_nAutoSleepTimeout);
    DDX_Text(pDX, IDC_BEACON_DURATION, m_nBeaconDuration);
    DDX_Text(pDX, IDC_COMPENSATION_UNIT, m_nCompensationUnit);
    DDX_Text(pDX, IDC_HOST_BOOT_TIME, m_nHostBootTime);
    DDX_Text(pDX, IDC_FRAME_LEN_AMENDMENT, m_nFrameLenAmendment);
    DDX_Text(pDX, IDC_FRAME_LEN_OFFSET, m_nFrameLenOffset);
    DDX_Text(pDX, IDC_NETWORK_ID, m_nNetworkId);
    DDX_Text(pDX, IDC_RESPONSE_TIMEOUT, m_nResponseTimeout);
    DDX_Text(pDX, IDC_TIMEOUT_DOWN, m_nTimeoutDown);
    DDX_Text(pDX, IDC_TIMEOUT_UP, m_nTimeoutUp);
    DDX_Text(pDX, IDC_SYNC_DURATION, m_nSyncDuration);
    DDX_Text(pDX, IDC_SLEEP_WAKE_RATE, m_nSleepWakeRate);
    DDX_Text(pDX, IDC_FRAME_STOP_SYNC, m_nFrameStopSync);
    DDX_Text(pDX, IDC_FRAME_START_SYNC, m_nFrameStartSync);
    DDX_Text(pDX, IDC_BACKOFF_TICK, m_nBackoffTick);
    DDX_Text(pDX, IDC_AUTO_WAKE_SLOT, m_nAutoWakeSlot);
    DDX_Text(pDX, IDC_BROADCAST_WILDCARD, m_nBroadcastWildcard);
    DDX_Text(pDX, IDC_MULTICAST_WILDCARD, m_nMulticastWildcard);
    DDX_Text(pDX, IDC_SYNC_INTERVAL, m_nSyncInterval);
    DDX_Text(pDX, IDC_UART_WAKEUP_BYTES, m_nUartWakeupBytes);
    DDX_CBIndex(pDX, IDC_FRAME_END_CHECK, m_iFrameEndCheck);
    DDX_CBIndex(pDX, IDC_RF_BAUD_MAX, m_iRfBaudMax);
    DDX_CBIndex(pDX, IDC_RF_BAUD_MIN, m_iRfBaudMin);
    DDX_CBIndex(pDX, IDC_ACT_PIN, m_iActPin);
    DDX_CBIndex(pDX, IDC_RF_BAUD_DEF, m_iRfBaudDef);
    DDX_CBIndex(pDX, IDC_AUX_CH_NUM, m_iAuxChNum);
    DDX_CBIndex(pDX, IDC_RF_POWER, m_iRfPower);
    DDX_CBIndex(pDX, IDC_UART_BAUD, m_iUartBaud);
    DDX_CBIndex(pDX, IDC_UART_START_BIT, m_iUartStartBit);
    DDX_CBIndex(pDX, IDC_FRAME_MODE, m_iFrameMode);
    DDX_CBIndex(pDX, IDC_UART_PARITY, m_iUartParity);
    DDX_CBIndex(pDX, IDC_UART_STOP_BIT, m_iUartStopBit);
    DDX_CBIndex(pDX, IDC_DEVICE_NUM, m_iDeviceNum);
}
