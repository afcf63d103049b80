// Slots are USB sockets: a tile follows its by-path name, whatever device the module comes as.
#include <gtest/gtest.h>

#include "ui/station/slot_grid.h"
#include "ui/station/slot_tile.h"

namespace {

const QString kUsb0 = QStringLiteral("/dev/ttyUSB0");
const QString kUsb1 = QStringLiteral("/dev/ttyUSB1");
const QString kSocketA = QStringLiteral("pci-0000:00:14.0-usb-0:1:1.0-port0");
const QString kSocketB = QStringLiteral("pci-0000:00:14.0-usb-0:2:1.0-port0");

SlotUpdate Update(const QString& device, SlotState state) {
    return {device, state, {}, {}, {}};
}

TEST(SlotGrid, ATileFollowsItsSocketWhenTheDevicesTradePlacesWhileRunning) {
    SlotGrid grid;
    grid.SetRunning(true);
    grid.AddSlot({kUsb0, kSocketA});
    grid.Apply(Update(kUsb0, SlotState::Done));
    SlotTile* socketA = grid.Tile(kUsb0);
    grid.RemoveSlot(kUsb0);
    EXPECT_FALSE(socketA->Present());

    // The next module goes into socket B and takes ttyUSB0; socket A's comes back as ttyUSB1.
    grid.AddSlot({kUsb0, kSocketB});
    grid.AddSlot({kUsb1, kSocketA});
    EXPECT_EQ(grid.Count(), 2);
    EXPECT_EQ(grid.Tile(kUsb1), socketA);
    EXPECT_TRUE(socketA->Present());
    EXPECT_EQ(socketA->Device(), kUsb1);
    ASSERT_NE(grid.Tile(kUsb0), nullptr);
    EXPECT_NE(grid.Tile(kUsb0), socketA);

    grid.Apply(Update(kUsb0, SlotState::Reading));
    EXPECT_EQ(grid.Tile(kUsb0)->State(), SlotState::Reading);
    EXPECT_EQ(socketA->State(), SlotState::Done);  // a failure or a success stays put

    // Socket B's device goes; socket A's tile, now on ttyUSB1, is not touched.
    grid.RemoveSlot(kUsb0);
    EXPECT_TRUE(socketA->Present());
    grid.SetRunning(false);
    EXPECT_EQ(grid.Count(), 1);
    EXPECT_EQ(grid.Tile(kUsb1), socketA);
}

}  // namespace
