#include "model/config_settings.h"

#include "model/mac_address.h"

ConfigSettings::ConfigSettings(std::time_t nowSeconds) : m_strMac(DefaultMacText(nowSeconds)) {}

std::string DefaultMacText(std::time_t nowSeconds) {
    const auto seconds = static_cast<std::uint32_t>(static_cast<std::uint64_t>(nowSeconds));
    return MacHexText(MacFromNumber(std::uint64_t{seconds} << 16));
}
