#include "link/announced_ports.h"

#include <utility>

void AnnouncedPorts::Announce(int number, std::string path) {
    m_paths[number] = std::move(path);
}

void AnnouncedPorts::Forget(int number) {
    m_paths.erase(number);
}

std::optional<std::string> AnnouncedPorts::Lookup(int number) const {
    const auto found = m_paths.find(number);
    if (found == m_paths.end()) {
        return std::nullopt;
    }
    return found->second;
}

const AnnouncedPorts& NoAnnouncedPorts() {
    static const AnnouncedPorts kNone;
    return kNone;
}
