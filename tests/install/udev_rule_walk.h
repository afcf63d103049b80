#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

// A device event as a rules file sees it: the event device (a tty) and the USB device above it.
struct UdevEvent {
    std::string action;                                // add, change, remove
    std::string subsystem;                             // of the event device: tty, usb-serial
    std::string parentDriver;                          // the driver above the event device
    std::map<std::string, std::string> usbAttributes;  // idVendor, idProduct
};

// What one rules file did to an event.
struct UdevOutcome {
    std::map<std::string, std::string> properties;  // ENV{...}
    std::set<std::string> tags;
    std::map<std::string, std::string> writtenAttributes;  // ATTR{...}, by path from the device
    std::vector<std::string> problems;  // what this walk cannot follow: unknown keys, bad jumps
};

// Walks a rules file over one event the way udev does: the rules in order, a rule's
// assignments only where all its matches hold, GOTO forward to its LABEL. It knows the keys of
// lvcfg's own rule file and reports any other key as a problem instead of guessing.
[[nodiscard]] UdevOutcome walkUdevRules(const std::string& rulesText, const UdevEvent& event);
