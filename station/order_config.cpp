#include "station/order_config.h"

#include <vector>

#include "files/cfg_scramble.h"
#include "station/cfg_load_message.h"
#include "store/sha256.h"

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

std::string HexOf(const ConfigFrame& bytes) {
    std::string text;
    text.reserve(2 * bytes.size());
    for (const std::uint8_t byte : bytes) {
        text += kHexDigits[byte >> 4];
        text += kHexDigits[byte & 0x0F];
    }
    return text;
}

int DigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

// The bytes of a hexadecimal text, up to the first character that is no digit pair.
std::vector<std::uint8_t> BytesOfHex(const std::string& text) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
        const int high = DigitValue(text[i]);
        const int low = DigitValue(text[i + 1]);
        if (high < 0 || low < 0) {
            break;
        }
        bytes.push_back(static_cast<std::uint8_t>(high << 4 | low));
    }
    return bytes;
}

}  // namespace

NewOrder NewOrderOf(const std::string& name, const ConfigFrame& frame, std::int64_t quantity,
                    const std::string& configFile, const std::string& createdBy) {
    ConfigFrame stored = frame;
    ScrambleCfgBytes(stored);
    return {name, HexOf(stored), Sha256Hex(stored), configFile, createdBy, quantity};
}

StoreResult<OrderConfig> LoadOrderConfig(StationStore& store, const std::string& name) {
    StoreResult<OrderDetail> found = store.Order(name);
    if (!found.Ok()) {
        return StoreStatus{found.outcome, found.message};
    }
    OrderConfig config;
    config.order = std::move(found.value);
    const std::vector<std::uint8_t> stored = BytesOfHex(config.order.configHex);
    const CfgLoadOutcome checked = CheckCfgBytes(stored, config.frame);
    if (checked != CfgLoadOutcome::Loaded) {
        return StoreFailure(
            StoreOutcome::OrderInvalid,
            "the block of order " + name + " is refused: " + CfgLoadMessage(checked));
    }
    if (Sha256Hex(stored) != config.order.row.configSha256) {
        return StoreFailure(StoreOutcome::OrderInvalid,
                            "the block of order " + name + " does not match its SHA-256");
    }
    return config;
}
