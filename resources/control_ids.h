#pragma once

// The control ids of the dialog templates: the framework's OK and Cancel commands, which the
// About box's button carries, and the controls of the main window.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

// The controls of the main window by their template ids.
inline constexpr int IDC_AUTO_CONFIG = 1000;
inline constexpr int IDC_STATUS = 1001;
inline constexpr int IDC_NAME = 1002;
inline constexpr int IDC_VERSION = 1003;
inline constexpr int IDC_TYPE = 1004;
inline constexpr int IDC_FREQ_BAND = 1005;
inline constexpr int IDC_POWER_MAX = 1006;
inline constexpr int IDC_MAC = 1007;
inline constexpr int IDC_COM_PORT = 1008;
inline constexpr int IDC_READ = 1009;
inline constexpr int IDC_WRITE = 1010;
inline constexpr int IDC_OPEN = 1011;
inline constexpr int IDC_SAVE = 1012;
inline constexpr int IDC_ADVANCED = 1013;
inline constexpr int IDC_DEVICE_NUM = 1014;
inline constexpr int IDC_RF_BAUD_DEF = 1015;
inline constexpr int IDC_RF_BAUD_MAX = 1016;
inline constexpr int IDC_RF_BAUD_MIN = 1017;
inline constexpr int IDC_MAIN_CHANNEL = 1018;
inline constexpr int IDC_START_FREQ = 1019;
inline constexpr int IDC_AUX_START_CHANNEL = 1020;
inline constexpr int IDC_AUX_CH_INTERVAL = 1021;
inline constexpr int IDC_AUX_CH_NUM = 1022;
inline constexpr int IDC_NETWORK_ID = 1023;
inline constexpr int IDC_RF_POWER = 1024;
inline constexpr int IDC_ACT_PIN = 1025;
inline constexpr int IDC_SLEEP_WAKE_RATE = 1026;
inline constexpr int IDC_HOST_BOOT_TIME = 1027;
inline constexpr int IDC_RESPONSE_TIMEOUT = 1028;
inline constexpr int IDC_UART_BAUD = 1029;
inline constexpr int IDC_SYNC_INTERVAL = 1030;
inline constexpr int IDC_FRAME_MODE = 1031;
inline constexpr int IDC_UART_START_BIT = 1032;
inline constexpr int IDC_UART_PARITY = 1033;
inline constexpr int IDC_UART_STOP_BIT = 1034;
inline constexpr int IDC_FRAME_START_SYNC = 1035;
inline constexpr int IDC_FRAME_STOP_SYNC = 1036;
inline constexpr int IDC_BROADCAST_WILDCARD = 1037;
inline constexpr int IDC_MULTICAST_WILDCARD = 1038;
inline constexpr int IDC_ADDR_LENGTH = 1039;
inline constexpr int IDC_DOWNLINK_ADDR_OFFSET = 1040;
inline constexpr int IDC_UPLINK_ADDR_OFFSET = 1041;
inline constexpr int IDC_FRAME_LEN_OFFSET = 1042;
inline constexpr int IDC_FRAME_LEN_AMENDMENT = 1043;
inline constexpr int IDC_HANDSHAKE_ACK = 1044;
inline constexpr int IDC_HOST_ADDR_INQUIRY = 1045;
inline constexpr int IDC_BROADCAST_CMD1 = 1046;
inline constexpr int IDC_BROADCAST_CMD2 = 1047;
inline constexpr int IDC_FLOW_CTRL = 1048;
inline constexpr int IDC_SLEEP = 1049;
inline constexpr int IDC_REPEAT = 1050;
inline constexpr int IDC_FLIP_ACT_PIN = 1051;
inline constexpr int IDC_FRAME_END_CHECK = 1052;
inline constexpr int IDC_CCA_THRESHOLD = 1053;
inline constexpr int IDC_BACKOFF_TICK = 1054;
inline constexpr int IDC_AUTO_SLEEP_TIMEOUT = 1055;
inline constexpr int IDC_TIMEOUT_DOWN = 1056;
inline constexpr int IDC_TIMEOUT_UP = 1057;
inline constexpr int IDC_SYNC_DURATION = 1058;
inline constexpr int IDC_BEACON_DURATION = 1059;
inline constexpr int IDC_AUTO_WAKE_SLOT = 1060;
inline constexpr int IDC_UART_WAKEUP_BYTES = 1061;
inline constexpr int IDC_COMPENSATION_UNIT = 1062;
inline constexpr int IDC_APPLY = 1063;

// The controls that the Auto Config editing lock switches, ascending.
inline constexpr int kFirstEditableId = IDC_NAME;
inline constexpr int kLastEditableId = IDC_APPLY;
