#include "link/port_names.h"

#include <sys/stat.h>
#include <array>
#include <cctype>

namespace {

// Serial device families in the order a COMn name looks for them: USB adapters first, the
// likeliest place of a module, then CDC-ACM devices, then built-in UARTs.
constexpr std::array<std::string_view, 3> kDeviceFamilies{"ttyUSB", "ttyACM", "ttyS"};

// Upper bound of a port number, so parsing never overflows; far beyond any real machine.
constexpr int kMaxPortNumber = 1'000'000;

// A decimal number without sign or leading zeros, 0 included; nothing for anything else.
std::optional<int> ParseDecimal(std::string_view digits) {
    if (digits.empty() || (digits.size() > 1 && digits.front() == '0')) {
        return std::nullopt;
    }
    int value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
        if (value > kMaxPortNumber) {
            return std::nullopt;
        }
    }
    return value;
}

bool Exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

std::string DevicePath(std::string_view deviceDir, std::string_view family, int index) {
    std::string path(deviceDir);
    if (path.empty() || path.back() != '/') {
        path += '/';
    }
    path += family;
    path += std::to_string(index);
    return path;
}

}  // namespace

std::optional<int> ComNumberOfPortName(std::string_view text) {
    if (text.size() < 4) {
        return std::nullopt;
    }
    constexpr std::string_view kPrefix = "COM";
    for (std::size_t i = 0; i < kPrefix.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(text[i])) != kPrefix[i]) {
            return std::nullopt;
        }
    }
    const auto number = ParseDecimal(text.substr(kPrefix.size()));
    if (!number || *number < 1) {
        return std::nullopt;
    }
    return number;
}

std::string ResolvePortName(std::string_view text, const AnnouncedPorts& announced,
                            std::string_view deviceDir) {
    const auto number = ComNumberOfPortName(text);
    if (!number) {
        return std::string(text);  // a path, or a name that fails on its own
    }
    if (auto path = announced.Lookup(*number)) {
        return *path;
    }
    for (const auto family : kDeviceFamilies) {
        std::string path = DevicePath(deviceDir, family, *number - 1);
        if (Exists(path)) {
            return path;
        }
    }
    return DevicePath(deviceDir, kDeviceFamilies.front(), *number - 1);
}

std::optional<int> ComNumberOfKernelName(std::string_view kernelName) {
    const auto slash = kernelName.rfind('/');
    if (slash != std::string_view::npos) {
        kernelName.remove_prefix(slash + 1);
    }
    for (const auto family : kDeviceFamilies) {
        if (kernelName.substr(0, family.size()) != family) {
            continue;
        }
        if (const auto index = ParseDecimal(kernelName.substr(family.size()))) {
            return *index + 1;
        }
    }
    return std::nullopt;
}
