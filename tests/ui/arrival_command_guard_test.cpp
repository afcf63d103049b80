// The queue of Writes that arrivals leave while a command runs.

#include "ui/command_guard.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

class CommandGuardTest : public ::testing::Test {
  protected:
    std::vector<int> m_ran;
    std::function<void(int)> m_onRun;
    CommandGuard m_guard{[this](int port) {
        m_ran.push_back(port);
        if (m_onRun) {
            m_onRun(port);
        }
    }};
};

TEST_F(CommandGuardTest, QueuedWritesRunInOrderOnceTheOutermostCommandEnds) {
    {
        const CommandGuard::Scope outer(m_guard);
        EXPECT_TRUE(m_guard.Running());
        m_guard.QueueWrite(4);
        {
            const CommandGuard::Scope inner(m_guard);
            m_guard.QueueWrite(2);
        }
        EXPECT_TRUE(m_ran.empty());
        m_guard.QueueWrite(7);
    }
    EXPECT_EQ(m_ran, (std::vector<int>{4, 2, 7}));
    EXPECT_FALSE(m_guard.Running());
    EXPECT_EQ(m_guard.QueuedWrites(), 0U);
}

TEST_F(CommandGuardTest, AQueuedWriteRunsAsACommandAndWhatItQueuesFollows) {
    m_onRun = [this](int port) {
        EXPECT_TRUE(m_guard.Running());
        if (port == 1) {
            m_guard.QueueWrite(3);
            EXPECT_EQ(m_ran.size(), 1U);
        }
    };
    {
        const CommandGuard::Scope command(m_guard);
        m_guard.QueueWrite(1);
        m_guard.QueueWrite(2);
    }
    EXPECT_EQ(m_ran, (std::vector<int>{1, 2, 3}));
}

TEST_F(CommandGuardTest, APortQueuedTwiceRunsOnceAndADroppedPortNever) {
    {
        const CommandGuard::Scope command(m_guard);
        m_guard.QueueWrite(5);
        m_guard.QueueWrite(6);
        m_guard.QueueWrite(5);
        m_guard.DropQueuedWrite(6);
        m_guard.DropQueuedWrite(9);
    }
    EXPECT_EQ(m_ran, (std::vector<int>{5}));
}

TEST_F(CommandGuardTest, NothingRunsWithoutACommandEnding) {
    m_guard.QueueWrite(1);
    EXPECT_TRUE(m_ran.empty());
    m_guard.DropAll();
    { const CommandGuard::Scope command(m_guard); }
    EXPECT_TRUE(m_ran.empty());
}

}  // namespace
