#pragma once

#include <string>

// The /dev/serial/by-path name of `device` (stable per USB socket), or an empty text when it
// has none (a pseudo-terminal, a port gone). Looks at the links only; the port is not opened.
[[nodiscard]] std::string PortByPathName(const std::string& device,
                                         const std::string& byPathDir = "/dev/serial/by-path");
