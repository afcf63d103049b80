#include "files/cfg_scramble.h"

void ScrambleCfgBytes(std::span<std::uint8_t> bytes) {
    for (std::uint8_t& byte : bytes) {
        byte ^= CFG_FILE_MASK;
    }
}
