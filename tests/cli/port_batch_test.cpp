// The parallel batch of the station core: where each module's MAC goes, and that a port is
// programmed by one thread at a time.
#include <condition_variable>
#include <mutex>
#include <set>

#include "cli_rig.h"
#include "files/cfg_scramble.h"
#include "link/announced_ports.h"
#include "station/mac_source.h"
#include "station/port_batch.h"

namespace {

// A MacSequence that remembers what was asked of it.
class RecordingMacs : public MacSource {
  public:
    explicit RecordingMacs(const MacAddress& start) : m_sequence(start) {}

    std::optional<MacAddress> Take(const std::string& port) override {
        const auto mac = m_sequence.Take(port);
        const std::lock_guard lock(m_mutex);
        ++taken;
        return mac;
    }
    void GiveBack(const MacAddress& mac) override {
        m_sequence.GiveBack(mac);
        const std::lock_guard lock(m_mutex);
        givenBack.push_back(mac);
    }
    void Written(const MacAddress& mac, bool verified) override {
        const std::lock_guard lock(m_mutex);
        written.insert(MacToNumber(mac));
        writtenVerified += verified ? 1 : 0;
    }

    int taken = 0;
    std::vector<MacAddress> givenBack;
    std::set<std::uint64_t> written;
    int writtenVerified = 0;

  private:
    MacSequence m_sequence;
    std::mutex m_mutex;
};

struct BatchRow {
    const char* name;
    std::vector<const char*> modules;  // "good", "silent", "badcrc" or "missing", one port each
    bool verify;
    std::size_t written;
    std::size_t givenBack;
};

class PortBatchTest : public CliTest, public ::testing::WithParamInterface<BatchRow> {
  protected:
    std::string Port(const std::string& kind) {
        if (kind == "silent") {
            return m_modules.Start({"--misbehave", "silent"});
        }
        if (kind == "badcrc") {
            return m_modules.Start({"--misbehave", "bad-crc"});
        }
        if (kind == "missing") {  // each a port of its own: a busy port is refused
            return m_folder.File("no-such-port-" + std::to_string(++m_missingPorts));
        }
        return m_modules.Start();
    }

    static constexpr std::uint64_t kStart = 0x4C5600000100;
    int m_missingPorts = 0;
    const AnnouncedPorts m_announced;
};

TEST_P(PortBatchTest, FailuresGiveTheirMacsBackToTheModulesAfterThem) {
    const BatchRow& row = GetParam();
    ConfigFrame frame{};
    std::vector<std::uint8_t> stored = ReadBytes(m_config);
    std::copy(stored.begin(), stored.end(), frame.begin());
    ScrambleCfgBytes(frame);  // as a .cfg file stores it

    RecordingMacs macs(MacFromNumber(kStart));
    std::size_t finished = 0;
    PortBatch batch(SettingsFromFrame(frame), row.verify, macs, m_announced,
                    [&](const BatchEvent& event) {
                        finished += event.kind == BatchEventKind::Finished ? 1 : 0;
                    });
    for (const char* kind : row.modules) {
        ASSERT_TRUE(batch.Start(Port(kind)));
    }
    batch.Wait();
    EXPECT_EQ(batch.Running(), 0u);
    EXPECT_EQ(finished, row.modules.size());
    EXPECT_EQ(macs.taken, static_cast<int>(row.modules.size()));
    EXPECT_EQ(macs.givenBack.size(), row.givenBack);
    EXPECT_EQ(macs.written.size(), row.written);
    EXPECT_EQ(macs.writtenVerified, row.verify ? static_cast<int>(row.written) : 0);

    // As many good modules as failed come next: they take exactly the MACs given back, so the
    // successes are one run without a gap.
    for (std::size_t i = 0; i < row.givenBack; ++i) {
        ASSERT_TRUE(batch.Start(Port("good")));
        batch.Wait();
    }
    std::set<std::uint64_t> expected;
    for (std::uint64_t i = 0; i < row.modules.size(); ++i) {
        expected.insert(kStart + i);
    }
    EXPECT_EQ(macs.written, expected);
}

const BatchRow kBatchRows[] = {
    {"AllAnswer", {"good", "good", "good"}, true, 3, 0},
    {"AllAnswerUnverified", {"good", "good"}, false, 2, 0},
    {"SilentModuleGivesItsMacBack", {"good", "silent", "good"}, true, 2, 1},
    {"RejectedAnswerGivesItsMacBack", {"badcrc", "good"}, true, 1, 1},
    {"MissingPortGivesItsMacBack", {"missing", "good", "missing"}, true, 1, 2},
};

INSTANTIATE_TEST_SUITE_P(Batches, PortBatchTest, ::testing::ValuesIn(kBatchRows),
                         [](const auto& info) { return std::string(info.param.name); });

// Holds each port's thread at its start until released, so a port is surely busy.
class HeldBatchTest : public CliTest {
  protected:
    void OnEvent(const BatchEvent& event) {
        std::unique_lock lock(m_mutex);
        if (event.kind == BatchEventKind::Finished) {
            ++m_finished;
            return;
        }
        if (event.kind == BatchEventKind::Started) {
            m_started = true;
            m_changed.notify_all();
            m_changed.wait(lock, [&] { return m_release; });
        }
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

    MacSequence m_macs{MacFromNumber(0x4C5600000200)};
    const AnnouncedPorts m_announced;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_started = false;
    bool m_release = false;
    int m_finished = 0;
};

TEST_F(HeldBatchTest, RefusesAPortStillBeingProgrammed) {
    const std::string port = m_modules.Start();
    PortBatch batch(ConfigSettings(0), true, m_macs, m_announced,
                    [this](const BatchEvent& event) { OnEvent(event); });
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
    const std::string port = m_modules.Start();
    const std::string other = m_modules.Start();
    PortBatch batch(ConfigSettings(0), true, m_macs, m_announced,
                    [this](const BatchEvent& event) { OnEvent(event); });
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
