#include "link/arrival/tty_device.h"

#include <gtest/gtest.h>

#include <ostream>

#include <optional>
#include <string>

#include "tests/arrival/device_event_printer.h"

namespace {

struct TranslationCase {
    const char* name;
    TtyDeviceReport report;
    std::optional<DeviceEvent> expected;
};

// Rows are named in test output by their name alone.
void PrintTo(const TranslationCase& row, std::ostream* out) {
    *out << row.name;
}

class TtyTranslation : public testing::TestWithParam<TranslationCase> {};

TEST_P(TtyTranslation, GivesTheEventOfTheReport) {
    EXPECT_EQ(TranslateTtyReport(GetParam().report), GetParam().expected);
}

constexpr auto kArrival = DeviceEventKind::Arrival;
constexpr auto kRemoval = DeviceEventKind::Removal;

INSTANTIATE_TEST_SUITE_P(
    HotPluggedPorts, TtyTranslation,
    testing::Values(
        TranslationCase{"UsbAdapterFirstIsCom1", UsbSerialReport("add", "ttyUSB0", "/dev/ttyUSB0"),
                        DeviceEvent{kArrival, 1, "/dev/ttyUSB0"}},
        TranslationCase{"UsbAdapterEleventhIsCom11",
                        UsbSerialReport("add", "ttyUSB10", "/dev/ttyUSB10"),
                        DeviceEvent{kArrival, 11, "/dev/ttyUSB10"}},
        TranslationCase{"ModemFourthIsCom4",
                        {"add", "ttyACM3", "/dev/ttyACM3",
                         "/devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.0/tty/ttyACM3"},
                        DeviceEvent{kArrival, 4, "/dev/ttyACM3"}},
        TranslationCase{
            "PciCardPort",
            {"add", "ttyS5", "/dev/ttyS5", "/devices/pci0000:00/0000:00:1c.0/tty/ttyS5"},
            DeviceEvent{kArrival, 6, "/dev/ttyS5"}},
        TranslationCase{"RemovalOfAnAdapter", UsbSerialReport("remove", "ttyUSB2", "/dev/ttyUSB2"),
                        DeviceEvent{kRemoval, 3, "/dev/ttyUSB2"}},
        TranslationCase{"RemovalWithoutNodeNamesTheUsualNode",
                        UsbSerialReport("remove", "ttyUSB0", ""),
                        DeviceEvent{kRemoval, 1, "/dev/ttyUSB0"}},
        TranslationCase{"SimulatedModuleOnAPseudoTerminal",
                        UsbSerialReport("add", "ttyUSB7", "/dev/pts/4"),
                        DeviceEvent{kArrival, 8, "/dev/pts/4"}}),
    [](const testing::TestParamInfo<TranslationCase>& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(
    Ignored, TtyTranslation,
    testing::Values(
        TranslationCase{"VirtualConsole",
                        {"add", "tty1", "/dev/tty1", "/devices/virtual/tty/tty1"},
                        std::nullopt},
        TranslationCase{"PseudoTerminalMaster",
                        {"add", "ptmx", "/dev/ptmx", "/devices/virtual/tty/ptmx"},
                        std::nullopt},
        TranslationCase{"VirtualTtyWithAPortName",
                        {"add", "ttyUSB0", "/dev/ttyUSB0", "/devices/virtual/tty/ttyUSB0"},
                        std::nullopt},
        TranslationCase{"Reserved8250PortWithoutChip",
                        {"add", "ttyS4", "/dev/ttyS4", "/devices/platform/serial8250/tty/ttyS4"},
                        std::nullopt},
        TranslationCase{"NoSysfsPath", {"add", "ttyUSB0", "/dev/ttyUSB0", ""}, std::nullopt},
        TranslationCase{"ChangeOfAnAdapter", UsbSerialReport("change", "ttyUSB0", "/dev/ttyUSB0"),
                        std::nullopt},
        TranslationCase{"BindOfAnAdapter", UsbSerialReport("bind", "ttyUSB0", "/dev/ttyUSB0"),
                        std::nullopt},
        TranslationCase{"NoAction", UsbSerialReport("", "ttyUSB0", "/dev/ttyUSB0"), std::nullopt},
        TranslationCase{
            "HardwareWithoutPortNumber",
            {"add", "ttyAMA0", "/dev/ttyAMA0", "/devices/platform/soc/fe201000.serial/tty/ttyAMA0"},
            std::nullopt}),
    [](const testing::TestParamInfo<TranslationCase>& info) { return info.param.name; });

}  // namespace
