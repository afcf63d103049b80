#include "station/mac_source.h"

std::optional<MacAddress> MacSequence::Take(const std::string& /*port*/) {
    const std::lock_guard lock(m_mutex);
    if (!m_givenBack.empty()) {
        const MacAddress mac = MacFromNumber(*m_givenBack.begin());
        m_givenBack.erase(m_givenBack.begin());
        return mac;
    }
    const MacAddress mac = m_next;
    m_next = NextMacAddress(m_next);
    return mac;
}

void MacSequence::GiveBack(const MacAddress& mac) {
    const std::lock_guard lock(m_mutex);
    m_givenBack.insert(MacToNumber(mac));
}

void MacSequence::Written(const MacAddress& /*mac*/, bool /*verified*/) {}
