// The thread engine under a production run: a port runs one job at a time, refused or queued
// while busy.
#include <condition_variable>
#include <mutex>

#include <gtest/gtest.h>

#include <string>

#include "station/port_batch.h"

namespace {

// Holds each port's job at its start until released, so a port is surely busy.
class HeldBatchTest : public ::testing::Test {
  protected:
    void Job(const std::string& /*port*/) {
        std::unique_lock lock(m_mutex);
        m_started = true;
        m_changed.notify_all();
        m_changed.wait(lock, [&] { return m_release; });
        ++m_finished;
    }
    void AwaitStart() {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_started; });
    }
    void Release() {
        const std::lock_guard lock(m_mutex);
        m_release = true;
        m_changed.notify_all();
    }

    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_started = false;
    bool m_release = false;
    int m_finished = 0;
};

TEST_F(HeldBatchTest, RefusesAPortStillBeingProgrammed) {
    const std::string port = "/dev/ttyUSB0";
    PortBatch batch([this](const std::string& port) { Job(port); });
    ASSERT_TRUE(batch.Start(port));
    AwaitStart();
    EXPECT_FALSE(batch.Start(port));
    Release();
    batch.Wait();
    EXPECT_EQ(m_finished, 1);
    EXPECT_TRUE(batch.Start(port));  // once finished, the port may come again
    batch.Wait();
    EXPECT_EQ(m_finished, 2);
}

TEST_F(HeldBatchTest, QueuesAModuleArrivingOnABusyPortUntilItIsFree) {
    const std::string port = "/dev/ttyUSB0";
    const std::string other = "/dev/ttyUSB1";
    PortBatch batch([this](const std::string& port) { Job(port); });
    ASSERT_TRUE(batch.Start(port));
    AwaitStart();
    EXPECT_TRUE(batch.Start(port, PortBatch::WhenBusy::Queue));
    EXPECT_TRUE(batch.Start(other, PortBatch::WhenBusy::Queue));
    EXPECT_TRUE(batch.Start(other, PortBatch::WhenBusy::Queue));
    batch.Forget(other);  // pulled out before its turn
    Release();
    batch.Wait();
    EXPECT_EQ(m_finished, 3);  // the port twice, the other once
}

}  // namespace
