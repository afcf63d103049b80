#include "link/tty_hardware_parent.h"

namespace {

constexpr std::string_view kVirtualDevices = "/devices/virtual/";
constexpr std::string_view kSerial8250Placeholders = "/devices/platform/serial8250/";

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

bool HasHardwareParent(std::string_view sysfsPath) {
    return StartsWith(sysfsPath, "/devices/") && !StartsWith(sysfsPath, kVirtualDevices) &&
           !StartsWith(sysfsPath, kSerial8250Placeholders);
}
