#pragma once

#include <functional>
#include <memory>
#include <string>

#include "link/serial_session.h"

#include "link/announced_ports.h"

// One attempt to open a module's port: the device tried, how it went, and the session when it
// opened. The session is held for as long as the caller keeps the opening.
struct PortOpening {
    std::string portText;  // as the user gave it ("COM3", "/dev/ttyUSB0")
    std::string device;    // the device path it stands for
    OpenOutcome outcome = OpenOutcome::Missing;
    int error = 0;  // the system's error of the failed step; 0 when opened
    std::unique_ptr<SerialSession> session;

    [[nodiscard]] bool Opened() const { return session != nullptr; }
};

// Resolves a port text (see link/port_names.h) and opens it.
[[nodiscard]] PortOpening OpenModulePort(const std::string& portText,
                                         const AnnouncedPorts& announced = NoAnnouncedPorts());

// Opens the port of one step of an exchange. A module exchange opens its port once for the
// read and again for the write, as the window always has.
using PortOpener = std::function<PortOpening()>;

// A sentence for people saying why a port did not open and what helps, naming the device and
// the COMn it came from: "/dev/ttyUSB0 (COM1): permission denied. ..."
[[nodiscard]] std::string PortFailureDetail(const PortOpening& opening);
