#include "model/windowless_codec_host.h"

#include "model/codec_tables.h"

// The list a window holds before any frame is decoded.
WindowlessCodecHost::WindowlessCodecHost()
    : m_rfPowerItems(RF_POWER_LIST_10DBM.begin(), RF_POWER_LIST_10DBM.end()) {}

bool WindowlessCodecHost::UpdateData(bool /*saveAndValidate*/) {
    return true;
}

void WindowlessCodecHost::ShowWarningBox(const std::string& text) {
    m_warnings.push_back(text);
}

void WindowlessCodecHost::FillRfPowerList(std::span<const char* const> items) {
    m_rfPowerItems.assign(items.begin(), items.end());
}
