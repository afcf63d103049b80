#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "link/announced_ports.h"

// Port names as the user types them and the devices they stand for.
//
// A text beginning with '/' is a device path and is opened as it stands. "COMn" in any letter
// case, n a decimal number from 1 without leading zeros, is the n-th port: the port the arrival
// watcher announced as COMn during this run, else the first of /dev/ttyUSB<n-1>,
// /dev/ttyACM<n-1>, /dev/ttyS<n-1> that exists (/dev/ttyUSB<n-1> when none does, so the open
// fails as missing). Any other text ("", "COM0", "COMx", "COM3 ", a relative name) is opened
// as it stands and fails there naturally. Nothing is trimmed.

inline constexpr std::string_view kDeviceDir = "/dev";

// n of a "COMn" text, or nothing when the text is no such name.
[[nodiscard]] std::optional<int> ComNumberOfPortName(std::string_view text);

// The path to open for a port box text. `deviceDir` stands for /dev (tests give their own).
[[nodiscard]] std::string ResolvePortName(std::string_view text, const AnnouncedPorts& announced,
                                          std::string_view deviceDir = kDeviceDir);

// The COM number of a serial device by its kernel name, the rule the arrival watcher numbers
// hot-plugged ports by: ttyUSB0 is COM1, ttyACM3 is COM4, ttyS1 is COM2. A path is taken by
// its last component. Nothing for other names.
[[nodiscard]] std::optional<int> ComNumberOfKernelName(std::string_view kernelName);
