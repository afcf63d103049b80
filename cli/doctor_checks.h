#pragma once

#include <string>
#include <vector>

// One finding of `lvcfg-cli doctor`: a check with a short name, whether all is well, what was
// found and what to do about it.
struct DoctorCheck {
    std::string name;  // "serial_access", "modemmanager", "brltty", "udev", "latency_timer"
    bool ok = true;
    std::string detail;
    std::string advice;  // empty when ok
};

// Where the checks look; tests give their own folders.
struct DoctorPlaces {
    std::string procDir = "/proc";
    std::vector<std::string> udevRulesDirs{"/etc/udev/rules.d", "/run/udev/rules.d",
                                           "/usr/lib/udev/rules.d", "/lib/udev/rules.d"};
    std::vector<std::string> brlttyPrograms{"/usr/bin/brltty", "/bin/brltty", "/usr/sbin/brltty"};
    std::string udevRunDir = "/run/udev";
};

// Whether this user may open serial ports (root, or in the group that owns them).
[[nodiscard]] DoctorCheck CheckSerialAccess();
// ModemManager probes new serial ports; harmless only when our udev rule tells it not to.
[[nodiscard]] DoctorCheck CheckModemManager(const DoctorPlaces& places);
// brltty takes over common USB-serial adapters as braille displays.
[[nodiscard]] DoctorCheck CheckBrltty(const DoctorPlaces& places);
// Watching for modules needs a running udev.
[[nodiscard]] DoctorCheck CheckUdev(const DoctorPlaces& places);

// A running process named `name` (its comm) under `procDir`.
[[nodiscard]] bool ProcessRuns(const std::string& procDir, const std::string& name);
// A rules file with "lvcfg" in its name in one of `dirs`: its path, or empty.
[[nodiscard]] std::string FindOurUdevRule(const std::vector<std::string>& dirs);
