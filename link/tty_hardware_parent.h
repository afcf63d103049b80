#pragma once

#include <string_view>

// Whether a tty, given by its kernel device path ("/devices/pci0000:00/.../tty/ttyUSB0"), sits
// on a real device rather than being made up by the kernel: virtual consoles,
// pseudo-terminals and the like live under /devices/virtual, and the serial ports that the
// 8250 driver reserves whether or not a chip is there sit on its placeholder platform device.
// Everything else (USB adapters, modems, PCI and on-board chips) has hardware behind.
[[nodiscard]] bool HasHardwareParent(std::string_view sysfsPath);
