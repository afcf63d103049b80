#include "model/config_settings.h"

#include "model/codec_tables.h"
#include "model/hex_text.h"

ConfigSettings::ConfigSettings(std::time_t nowSeconds)
    : m_strMac(DefaultMacText(nowSeconds)), m_pBaudMantissa(&BAUD_M_26MHZ) {
    MakeDefaultWorkFrame(m_workFrame);
}

std::string DefaultMacText(std::time_t nowSeconds) {
    const auto seconds = static_cast<std::uint32_t>(static_cast<std::uint64_t>(nowSeconds));
    const std::array<std::uint8_t, 6> mac{static_cast<std::uint8_t>(seconds >> 24),
                                          static_cast<std::uint8_t>(seconds >> 16),
                                          static_cast<std::uint8_t>(seconds >> 8),
                                          static_cast<std::uint8_t>(seconds),
                                          0,
                                          0};
    std::array<char, 3 * mac.size()> text{};
    BytesToHex(text.data(), mac.data(), static_cast<std::uint8_t>(mac.size()));
    return std::string(text.data());
}
