#include "link/arrival/arrival_watcher.h"

#include <gtest/gtest.h>
#include <poll.h>

#include <memory>

#include "link/arrival/injected_device_source.h"
#include "tests/arrival/device_event_printer.h"

namespace {

bool IsReadable(int fd) {
    pollfd watched{fd, POLLIN, 0};
    return ::poll(&watched, 1, 0) == 1 && (watched.revents & POLLIN) != 0;
}

class ArrivalWatcherTest : public testing::Test {
  protected:
    ArrivalWatcherTest() {
        auto source = std::make_unique<InjectedDeviceSource>();
        injector = source.get();
        watcher = std::make_unique<ArrivalWatcher>(std::move(source), announced);
    }

    AnnouncedPorts announced;
    InjectedDeviceSource* injector = nullptr;
    std::unique_ptr<ArrivalWatcher> watcher;
};

TEST_F(ArrivalWatcherTest, DescriptorIsReadableExactlyWhileReportsWait) {
    ASSERT_GE(watcher->Descriptor(), 0);
    EXPECT_FALSE(IsReadable(watcher->Descriptor()));
    ASSERT_TRUE(injector->Inject(UsbSerialReport("add", "ttyUSB0", "/dev/ttyUSB0")));
    ASSERT_TRUE(injector->Inject(UsbSerialReport("remove", "ttyUSB0", "/dev/ttyUSB0")));
    EXPECT_TRUE(IsReadable(watcher->Descriptor()));
    static_cast<void>(watcher->OnReadable());
    EXPECT_TRUE(IsReadable(watcher->Descriptor()));
    static_cast<void>(watcher->OnReadable());
    EXPECT_FALSE(IsReadable(watcher->Descriptor()));
    EXPECT_EQ(watcher->OnReadable(), std::nullopt);
}

TEST_F(ArrivalWatcherTest, EventsComeInTheOrderOfTheReports) {
    ASSERT_TRUE(injector->Inject(UsbSerialReport("add", "ttyUSB0", "/dev/ttyUSB0")));
    ASSERT_TRUE(injector->Inject(UsbSerialReport("add", "ttyACM1", "/dev/ttyACM1")));
    ASSERT_TRUE(injector->Inject(UsbSerialReport("remove", "ttyUSB0", "/dev/ttyUSB0")));
    EXPECT_EQ(watcher->OnReadable(), (DeviceEvent{DeviceEventKind::Arrival, 1, "/dev/ttyUSB0"}));
    EXPECT_EQ(watcher->OnReadable(), (DeviceEvent{DeviceEventKind::Arrival, 2, "/dev/ttyACM1"}));
    EXPECT_EQ(watcher->OnReadable(), (DeviceEvent{DeviceEventKind::Removal, 1, "/dev/ttyUSB0"}));
}

TEST_F(ArrivalWatcherTest, ArrivalAnnouncesItsDeviceAsComN) {
    ASSERT_TRUE(injector->Inject(UsbSerialReport("add", "ttyUSB4", "/dev/pts/7")));
    ASSERT_TRUE(watcher->OnReadable().has_value());
    EXPECT_EQ(announced.Lookup(5), "/dev/pts/7");
}

TEST_F(ArrivalWatcherTest, RemovalForgetsOnlyTheDeviceThatWasAnnounced) {
    ASSERT_TRUE(injector->Inject(UsbSerialReport("add", "ttyUSB0", "/dev/pts/3")));
    ASSERT_TRUE(injector->Inject(UsbSerialReport("remove", "ttyUSB0", "/dev/ttyUSB0")));
    ASSERT_TRUE(injector->Inject(UsbSerialReport("remove", "ttyUSB0", "/dev/pts/3")));
    static_cast<void>(watcher->OnReadable());
    EXPECT_TRUE(watcher->OnReadable().has_value());
    EXPECT_EQ(announced.Lookup(1), "/dev/pts/3");
    EXPECT_TRUE(watcher->OnReadable().has_value());
    EXPECT_EQ(announced.Lookup(1), std::nullopt);
}

TEST_F(ArrivalWatcherTest, IgnoredReportsLeaveTheAnnouncementsAlone) {
    announced.Announce(1, "/dev/ttyUSB0");
    ASSERT_TRUE(injector->Inject({"add", "tty2", "/dev/tty2", "/devices/virtual/tty/tty2"}));
    ASSERT_TRUE(injector->Inject(UsbSerialReport("change", "ttyUSB0", "/dev/ttyUSB9")));
    EXPECT_EQ(watcher->OnReadable(), std::nullopt);
    EXPECT_EQ(watcher->OnReadable(), std::nullopt);
    EXPECT_EQ(announced.Lookup(1), "/dev/ttyUSB0");
    EXPECT_EQ(announced.Lookup(3), std::nullopt);
    EXPECT_EQ(injector->Pending(), 0u);
}

}  // namespace
