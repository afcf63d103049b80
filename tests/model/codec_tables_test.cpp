#include "model/codec_tables.h"

#include <gtest/gtest.h>

#include <cmath>

#include "model/timing_tables.h"

namespace {

static_assert(SYNC_WORD_TABLE[0x12] == 0x1B27);

TEST(SyncWordTable, IsStrictlyAscending) {
    for (std::size_t i = 1; i < SYNC_WORD_TABLE.size(); ++i) {
        EXPECT_LT(SYNC_WORD_TABLE[i - 1], SYNC_WORD_TABLE[i]) << "index " << i;
    }
    EXPECT_EQ(SYNC_WORD_TABLE.front(), 0x11BB);
    EXPECT_EQ(SYNC_WORD_TABLE.back(), 0xE4C6);
}

// Each register pair gives its list rate within 0.2 % at the crystal it belongs to.
TEST(UartBaudTables, EveryPairComesWithinTwoPerMilleOfItsRate) {
    constexpr std::array<double, kUartBaudCount> rates{
        600, 1200, 2400, 4800, 9600, 14400, 19200, 28800, 38400, 57600, 76800, 115200, 230400};
    for (std::size_t i = 0; i < kUartBaudCount; ++i) {
        for (const auto& [table, crystalHz] :
             {std::pair{&BAUD_M_26MHZ, 26e6}, std::pair{&BAUD_M_27MHZ, 27e6}}) {
            const double rate =
                (256.0 + (*table)[i]) * std::ldexp(1.0, BAUD_E_TABLE[i]) * crystalHz / 268435456.0;
            EXPECT_NEAR(rate / rates[i], 1.0, 0.002) << "index " << i << " crystal " << crystalHz;
        }
    }
}

TEST(RfPowerLists, HoldEightItemsPerClass) {
    EXPECT_STREQ(RF_POWER_LIST_10DBM[0], "+10dBm");
    EXPECT_STREQ(RF_POWER_LIST_10DBM[7], "-20dBm");
    EXPECT_STREQ(RF_POWER_LIST_20DBM[3], "+10dBm");
    EXPECT_STREQ(RF_POWER_LIST_20DBM[7], "-10dBm");
}

}  // namespace
