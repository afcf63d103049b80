#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ostream>

#include "link_test_support.h"
#include "tools/module_sim/module_identity.h"
#include "tools/module_sim/simulated_module_set.h"

namespace {

using std::chrono::seconds;

ConfigFrame ToFrame(const std::vector<std::uint8_t>& bytes) {
    ConfigFrame frame{};
    std::copy_n(bytes.begin(), std::min(bytes.size(), frame.size()), frame.begin());
    return frame;
}

// ---- Identity -------------------------------------------------------------------------------

struct IdentityRow {
    const char* name;
    ModuleIdentity identity;
    std::array<std::uint8_t, 5> facts;  // bytes 28, 30, 31, 32, 34
};

class ModuleIdentityTest : public ::testing::TestWithParam<IdentityRow> {};

TEST_P(ModuleIdentityTest, FrameCarriesMagicIdentityAndMac) {
    const ConfigFrame frame = MakeModuleFrame(GetParam().identity);
    EXPECT_EQ(CheckFrame(frame), FrameCheck::Accepted);
    const std::string name(reinterpret_cast<const char*>(frame.data() + FrameOffset::kName));
    EXPECT_EQ(name, "Lumivaro KTR5520Q");
    EXPECT_TRUE(std::all_of(frame.begin() + FrameOffset::kName + name.size(),
                            frame.begin() + FrameOffset::kName + FrameOffset::kNameLength,
                            [](std::uint8_t b) { return b == 0; }));
    const auto& facts = GetParam().facts;
    EXPECT_EQ(frame[FrameOffset::kType], facts[0]);
    EXPECT_EQ(frame[FrameOffset::kPowerClass], facts[1]);
    EXPECT_EQ(frame[FrameOffset::kBandDigit2], facts[2]);
    EXPECT_EQ(frame[FrameOffset::kBandDigit3], facts[3]);
    EXPECT_EQ(frame[FrameOffset::kCrystal], facts[4]);
    EXPECT_EQ(frame[FrameOffset::kVersionMinor], 6);
    EXPECT_EQ(frame[FrameOffset::kVersionMajor], 1);
    EXPECT_TRUE(std::equal(GetParam().identity.mac.begin(), GetParam().identity.mac.end(),
                           frame.begin() + FrameOffset::kMac));
}

ModuleIdentity Identity(ModuleRole role, int power, int band, int crystal) {
    ModuleIdentity identity;
    identity.role = role;
    identity.powerDbm = power;
    identity.bandMHz = band;
    identity.crystalMHz = crystal;
    identity.mac = {0x12, 0x34, 0x56, 0x78, 0x9A, static_cast<std::uint8_t>(power + band)};
    return identity;
}

INSTANTIATE_TEST_SUITE_P(Options, ModuleIdentityTest,
                         ::testing::Values(IdentityRow{"Node10dBm433Crystal26",
                                                       Identity(ModuleRole::Node, 10, 433, 26),
                                                       {'N', '1', '3', '3', '6'}},
                                           IdentityRow{"Root20dBm470Crystal27",
                                                       Identity(ModuleRole::Root, 20, 470, 27),
                                                       {'R', '2', '7', '0', '7'}},
                                           IdentityRow{"Node20dBm470Crystal26",
                                                       Identity(ModuleRole::Node, 20, 470, 26),
                                                       {'N', '2', '7', '0', '6'}},
                                           IdentityRow{"Root10dBm433Crystal27",
                                                       Identity(ModuleRole::Root, 10, 433, 27),
                                                       {'R', '1', '3', '3', '7'}}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- Good requests ----------------------------------------------------------------------------

using ModuleSimTest = ModuleOnPty;

TEST_F(ModuleSimTest, AnswersReadWithItsStoredFrame) {
    const Exchange exchange = ReadModuleFrame();
    ASSERT_EQ(exchange.answer.size(), kFrameSize);
    EXPECT_EQ(ToFrame(exchange.answer), m_module.StoredFrame());
    EXPECT_EQ(CheckFrame(exchange.answer), FrameCheck::Accepted);
    EXPECT_EQ(m_module.ReadRequests(), 1);
    EXPECT_EQ(m_module.WriteRequests(), 0);
}

TEST_F(ModuleSimTest, StoresASealedWriteAndReadsItBack) {
    ConfigFrame frame = m_module.StoredFrame();
    frame[FrameOffset::kMac + 5] = 0x77;
    frame[FrameOffset::kNetworkIdLow] = 0x33;
    SealFrame(frame);
    const Exchange write = WriteModuleFrame(frame);
    EXPECT_EQ(write.answer, Bytes("ATOK"));
    EXPECT_EQ(m_module.StoredFrame(), frame);
    EXPECT_EQ(m_module.LastWrittenFrame(), frame);
    const Exchange read = ReadModuleFrame();
    EXPECT_EQ(ToFrame(read.answer), frame);
    EXPECT_EQ(m_module.WriteRequests(), 1);
}

TEST_F(ModuleSimTest, RefusesAWriteWithABadCrcAndKeepsItsBlock) {
    const ConfigFrame before = m_module.StoredFrame();
    ConfigFrame frame = before;
    frame[FrameOffset::kMac] ^= 0x01;  // not resealed
    const Exchange write = WriteModuleFrame(frame);
    EXPECT_EQ(write.answer, Bytes("ATER"));
    EXPECT_EQ(m_module.StoredFrame(), before);
    EXPECT_EQ(m_module.LastWrittenFrame(), frame);
}

TEST_F(ModuleSimTest, RefusesAWriteWithoutTheMagic) {
    const ConfigFrame before = m_module.StoredFrame();
    ConfigFrame frame = before;
    frame[FrameOffset::kMagic] = 'X';
    SealFrame(frame);
    EXPECT_EQ(WriteModuleFrame(frame).answer, Bytes("ATER"));
    EXPECT_EQ(m_module.StoredFrame(), before);
}

TEST_F(ModuleSimTest, SkipsBytesThatStartNoRequest) {
    const auto noise = Bytes("xyz\r\nAT");
    ASSERT_TRUE(m_session.Write(noise));
    const Exchange exchange = ReadModuleFrame();
    EXPECT_EQ(exchange.answer.size(), kFrameSize);
    EXPECT_EQ(m_module.ReadRequests(), 1);
}

TEST_F(ModuleSimTest, MisbehavesOnceThenAnswersWell) {
    m_module.MisbehaveOnce(Misbehaviour::ShortAnswer);
    EXPECT_EQ(ReadModuleFrame().answer.size(), kFrameSize - 1);
    EXPECT_EQ(ReadModuleFrame().answer.size(), kFrameSize);
}

TEST_F(ModuleSimTest, MisbehavesAlwaysUntilToldOtherwise) {
    m_module.MisbehaveAlways(Misbehaviour::ShortAnswer);
    EXPECT_EQ(ReadModuleFrame().answer.size(), kFrameSize - 1);
    EXPECT_EQ(ReadModuleFrame().answer.size(), kFrameSize - 1);
    m_module.MisbehaveAlways(Misbehaviour::None);
    EXPECT_EQ(ReadModuleFrame().answer.size(), kFrameSize);
}

TEST_F(ModuleSimTest, MisbehaviourForWritesLeavesReadsAlone) {
    m_module.MisbehaveOnce(RequestKind::Write, Misbehaviour::ShortAnswer);
    const Exchange read = ReadModuleFrame();
    EXPECT_EQ(read.answer.size(), kFrameSize);
    EXPECT_EQ(WriteModuleFrame(ToFrame(read.answer)).answer, Bytes("ATO"));
    EXPECT_EQ(WriteModuleFrame(ToFrame(read.answer)).answer, Bytes("ATOK"));
}

// ---- Misbehaving reads --------------------------------------------------------------------

struct ReadFaultRow {
    const char* name;
    Misbehaviour misbehaviour;
    std::size_t received;
    FrameCheck check;
};

class ReadFaultTest : public ModuleOnPty, public ::testing::WithParamInterface<ReadFaultRow> {};

TEST_P(ReadFaultTest, AnswerHasTheFault) {
    m_module.MisbehaveOnce(GetParam().misbehaviour);
    const Exchange exchange = ReadModuleFrame();
    EXPECT_TRUE(exchange.read);
    ASSERT_EQ(exchange.answer.size(), GetParam().received);
    if (!exchange.answer.empty()) {
        EXPECT_EQ(CheckFrame(exchange.answer), GetParam().check);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, ReadFaultTest,
    ::testing::Values(
        ReadFaultRow{"Silent", Misbehaviour::Silent, 0, FrameCheck::LengthMismatch},
        ReadFaultRow{"Short", Misbehaviour::ShortAnswer, 517, FrameCheck::LengthMismatch},
        ReadFaultRow{"Long", Misbehaviour::LongAnswer, 518, FrameCheck::Accepted},
        ReadFaultRow{"BadMagic", Misbehaviour::CorruptMagic, 518, FrameCheck::MagicMismatch},
        ReadFaultRow{"BadCrc", Misbehaviour::CorruptCrc, 518, FrameCheck::CrcMismatch},
        ReadFaultRow{"CrcHighFirst", Misbehaviour::CrcHighByteFirst, 518, FrameCheck::CrcMismatch},
        ReadFaultRow{"Pause", Misbehaviour::PauseMidAnswer, 259, FrameCheck::LengthMismatch}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ModuleSimTest, LongAnswerSendsExtraBytesAfterTheFrame) {
    m_module.MisbehaveOnce(Misbehaviour::LongAnswer);
    const Exchange exchange = Transact(m_session, kReadRequestBytes, kFrameSize + 20);
    ASSERT_EQ(exchange.answer.size(), kFrameSize + kExtraAnswerBytes.size());
    EXPECT_EQ(ToFrame(exchange.answer), m_module.StoredFrame());
    EXPECT_TRUE(std::equal(kExtraAnswerBytes.begin(), kExtraAnswerBytes.end(),
                           exchange.answer.begin() + kFrameSize));
}

TEST_F(ModuleSimTest, CorruptMagicChangesOnlyTheMagic) {
    m_module.MisbehaveOnce(Misbehaviour::CorruptMagic);
    const ConfigFrame answer = ToFrame(ReadModuleFrame().answer);
    const ConfigFrame stored = m_module.StoredFrame();
    EXPECT_TRUE(std::equal(stored.begin(), stored.begin() + 4, answer.begin()));
    EXPECT_NE(answer[FrameOffset::kMagic], stored[FrameOffset::kMagic]);
    ConfigFrame resealed = answer;
    SealFrame(resealed);
    EXPECT_TRUE(std::equal(resealed.begin() + 4, resealed.end(), answer.begin() + 4));
}

TEST_F(ModuleSimTest, CrcHighByteFirstSwapsTwoDifferentBytes) {
    ConfigFrame stored = m_module.StoredFrame();
    // Force equal CRC bytes in the stored frame; the module must still give a detectable swap.
    for (int spare = 0; stored[FrameOffset::kCrc] != stored[FrameOffset::kCrc + 1]; ++spare) {
        stored[400] = static_cast<std::uint8_t>(spare);
        stored[401] = static_cast<std::uint8_t>(spare >> 8);
        SealFrame(stored);
    }
    m_module.SetStoredFrame(stored);
    m_module.MisbehaveOnce(Misbehaviour::CrcHighByteFirst);
    const ConfigFrame answer = ToFrame(ReadModuleFrame().answer);
    EXPECT_NE(answer[FrameOffset::kCrc], answer[FrameOffset::kCrc + 1]);
    ConfigFrame swapped = answer;
    std::swap(swapped[FrameOffset::kCrc], swapped[FrameOffset::kCrc + 1]);
    EXPECT_EQ(CheckFrame(swapped), FrameCheck::Accepted);
    EXPECT_EQ(CheckFrame(answer), FrameCheck::CrcMismatch);
}

// ---- Misbehaving acknowledgements -----------------------------------------------------------

struct AckFaultRow {
    const char* name;
    Misbehaviour misbehaviour;
    const char* ack;
};

class AckFaultTest : public ModuleOnPty, public ::testing::WithParamInterface<AckFaultRow> {};

TEST_P(AckFaultTest, AcknowledgementHasTheFault) {
    m_module.MisbehaveOnce(GetParam().misbehaviour);
    ConfigFrame frame = m_module.StoredFrame();
    frame[FrameOffset::kMac] = 0xAB;
    SealFrame(frame);
    const Exchange exchange = WriteModuleFrame(frame);
    EXPECT_TRUE(exchange.read);
    EXPECT_EQ(exchange.answer, Bytes(GetParam().ack));
    ASSERT_TRUE(m_module.WaitForAnswers(1, seconds(2)));
    EXPECT_EQ(m_module.StoredFrame(), frame);  // the block was taken whatever the answer
}

INSTANTIATE_TEST_SUITE_P(
    Faults, AckFaultTest,
    ::testing::Values(AckFaultRow{"Silent", Misbehaviour::Silent, ""},
                      AckFaultRow{"Short", Misbehaviour::ShortAnswer, "ATO"},
                      AckFaultRow{"Long", Misbehaviour::LongAnswer, "ATOK"},
                      AckFaultRow{"Pause", Misbehaviour::PauseMidAnswer, "AT"},
                      AckFaultRow{"BadMagicIsNoAckFault", Misbehaviour::CorruptMagic, "ATOK"},
                      AckFaultRow{"BadCrcIsNoAckFault", Misbehaviour::CorruptCrc, "ATOK"},
                      AckFaultRow{"StoreNoAck", Misbehaviour::StoreNoAck, ""},
                      AckFaultRow{"StoreAter", Misbehaviour::StoreAter, "ATER"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ModuleSimTest, LongAckSendsExtraBytesAfterAtok) {
    m_module.MisbehaveOnce(Misbehaviour::LongAnswer);
    const Exchange exchange = Transact(m_session, m_module.StoredFrame(), 20);
    auto expected = Bytes("ATOK");
    expected.insert(expected.end(), kExtraAnswerBytes.begin(), kExtraAnswerBytes.end());
    EXPECT_EQ(exchange.answer, expected);
}

TEST_F(ModuleSimTest, VanishingDuringAWriteFailsTheReadAndKeepsTheOldBlock) {
    const ConfigFrame before = m_module.StoredFrame();
    ConfigFrame frame = before;
    frame[FrameOffset::kMac] = 0xCD;
    SealFrame(frame);
    m_module.MisbehaveOnce(Misbehaviour::VanishMidAnswer);
    const Exchange exchange = WriteModuleFrame(frame);
    EXPECT_FALSE(exchange.read);
    EXPECT_EQ(m_module.StoredFrame(), before);
    m_session.Close();
    SerialSession again;
    EXPECT_EQ(again.Open(m_module.PortPath()), OpenOutcome::Missing);
}

TEST_F(ModuleSimTest, ARefusedWriteKeepsTheOldBlockAndAHangUpAfterStoringKeepsTheNew) {
    const ConfigFrame before = m_module.StoredFrame();
    ConfigFrame frame = before;
    frame[FrameOffset::kMac] = 0xCE;
    SealFrame(frame);
    m_module.MisbehaveOnce(Misbehaviour::RefuseWrite);
    EXPECT_EQ(WriteModuleFrame(frame).answer, Bytes("ATER"));
    EXPECT_EQ(m_module.StoredFrame(), before);
    EXPECT_EQ(ReadModuleFrame().answer.size(), kFrameSize);  // reads are answered as ever

    m_module.MisbehaveOnce(Misbehaviour::StoreHangUp);
    EXPECT_FALSE(WriteModuleFrame(frame).read);
    EXPECT_EQ(m_module.StoredFrame(), frame);
    EXPECT_TRUE(m_module.Vanished());
}

TEST(ModuleSimLifeTest, StopRemovesThePort) {
    SimulatedModule module;
    ASSERT_TRUE(module.Start());
    const std::string path = module.PortPath();
    module.Stop();
    SerialSession session;
    EXPECT_EQ(session.Open(path), OpenOutcome::Missing);
}

// ---- Misbehaving stores -----------------------------------------------------------------------

TEST_F(ModuleSimTest, StoreOtherAcknowledgesButReadsBackAnotherGoodFrame) {
    m_module.MisbehaveOnce(Misbehaviour::StoreOther);
    ConfigFrame frame = m_module.StoredFrame();
    frame[FrameOffset::kMac + 5] = 0x99;
    SealFrame(frame);
    EXPECT_EQ(WriteModuleFrame(frame).answer, Bytes("ATOK"));
    const Exchange read = ReadModuleFrame();
    ASSERT_EQ(read.answer.size(), kFrameSize);
    EXPECT_EQ(CheckFrame(read.answer), FrameCheck::Accepted);
    std::vector<std::size_t> differences;
    for (std::size_t i = FrameOffset::kBlock; i < FrameOffset::kCrc; ++i) {
        if (read.answer[i] != frame[i]) {
            differences.push_back(i);
        }
    }
    EXPECT_EQ(differences, std::vector<std::size_t>{FrameOffset::kNetworkIdLow});
}

// ---- Several modules ----------------------------------------------------------------------

struct MacRow {
    const char* name;
    MacAddress mac;
    unsigned offset;
    MacAddress sum;
};

void PrintTo(const MacRow& row, std::ostream* out) {
    *out << row.name;
}

class MacPlusTest : public ::testing::TestWithParam<MacRow> {};

TEST_P(MacPlusTest, AddsAsOneBigEndianNumber) {
    EXPECT_EQ(MacPlus(GetParam().mac, GetParam().offset), GetParam().sum);
}

INSTANTIATE_TEST_SUITE_P(
    Sums, MacPlusTest,
    ::testing::Values(
        MacRow{"Zero", {0x4C, 0x56, 0, 0, 0, 0x01}, 0, {0x4C, 0x56, 0, 0, 0, 0x01}},
        MacRow{"LastByte", {0x4C, 0x56, 0, 0, 0, 0x01}, 2, {0x4C, 0x56, 0, 0, 0, 0x03}},
        MacRow{"Carry", {0x4C, 0x56, 0, 0, 0xFF, 0xFF}, 1, {0x4C, 0x56, 0, 1, 0, 0}},
        MacRow{"WrapsAtTheTop", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, 2, {0, 0, 0, 0, 0, 0x01}}),
    [](const auto& info) { return std::string(info.param.name); });

ConfigFrame ReadOnce(const std::string& path) {
    SerialSession session;
    EXPECT_EQ(session.Open(path), OpenOutcome::Opened);
    return ToFrame(Transact(session, kReadRequestBytes, kFrameSize).answer);
}

TEST(ModuleSetTest, ModulesAnswerOnTheirOwnPortsWithConsecutiveMacs) {
    SimulatedModuleOptions options;
    options.identity.mac = {0x4C, 0x56, 0, 0, 0, 0xFE};
    SimulatedModuleSet modules(options, 3);
    ASSERT_TRUE(modules.Start());
    const auto paths = modules.PortPaths();
    ASSERT_EQ(paths.size(), 3U);
    EXPECT_NE(paths[0], paths[1]);
    EXPECT_NE(paths[1], paths[2]);
    const std::array<std::uint8_t, 3> lastTwo[] = {{0, 0, 0xFE}, {0, 0, 0xFF}, {0, 1, 0x00}};
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const ConfigFrame frame = ReadOnce(paths[i]);
        EXPECT_TRUE(
            std::equal(lastTwo[i].begin(), lastTwo[i].end(), frame.begin() + FrameOffset::kMac + 3))
            << "module " << i;
        EXPECT_EQ(modules.Module(i).ReadRequests(), 1);
    }
    // A write to one leaves the others as they were.
    ConfigFrame frame = modules.Module(1).StoredFrame();
    frame[FrameOffset::kNetworkIdLow] = 0x77;
    SealFrame(frame);
    SerialSession session;
    ASSERT_EQ(session.Open(paths[1]), OpenOutcome::Opened);
    EXPECT_EQ(Transact(session, frame, 4).answer, Bytes("ATOK"));
    EXPECT_EQ(modules.Module(1).StoredFrame(), frame);
    EXPECT_NE(modules.Module(0).StoredFrame()[FrameOffset::kNetworkIdLow], 0x77);
    EXPECT_NE(modules.Module(2).StoredFrame()[FrameOffset::kNetworkIdLow], 0x77);
}

// ---- The program ----------------------------------------------------------------------------

// lvcfg-module-sim running as a child with its standard output on a pipe.
class SimulatorProgram {
  public:
    explicit SimulatorProgram(std::vector<std::string> args) {
        int out[2];
        EXPECT_EQ(::pipe(out), 0);
        m_child = ::fork();
        if (m_child == 0) {
            ::dup2(out[1], STDOUT_FILENO);
            ::close(out[0]);
            ::close(out[1]);
            std::vector<char*> argv{const_cast<char*>(LVCFG_MODULE_SIM_PATH)};
            for (auto& arg : args) {
                argv.push_back(arg.data());
            }
            argv.push_back(nullptr);
            ::execv(LVCFG_MODULE_SIM_PATH, argv.data());
            ::_exit(127);
        }
        ::close(out[1]);
        m_output = ::fdopen(out[0], "r");
    }
    ~SimulatorProgram() {
        if (m_child > 0) {
            ::kill(m_child, SIGTERM);
            static_cast<void>(Wait());
        }
        std::fclose(m_output);
    }

    // The next line of output without its newline; empty at the end.
    std::string Line() {
        std::array<char, 256> line{};
        if (std::fgets(line.data(), line.size(), m_output) == nullptr) {
            return {};
        }
        std::string text(line.data());
        text.erase(text.find_last_not_of('\n') + 1);
        return text;
    }

    // Stops the program and returns its wait status.
    int Terminate() {
        ::kill(m_child, SIGTERM);
        return Wait();
    }
    int Wait() {
        int status = 0;
        EXPECT_EQ(::waitpid(m_child, &status, 0), m_child);
        m_child = -1;
        return status;
    }

  private:
    pid_t m_child = -1;
    FILE* m_output = nullptr;
};

TEST(ModuleSimProgramTest, PrintsItsPortAndAnswersUntilTerminated) {
    SimulatorProgram program({"--role", "root", "--power", "20", "--mac", "12 34 56 78 9a bc"});
    const std::string path = program.Line();
    ASSERT_EQ(path.rfind("/dev/", 0), 0U) << path;
    EXPECT_NE(program.Line().find(path), std::string::npos);

    SerialSession session;
    ASSERT_EQ(session.Open(path), OpenOutcome::Opened);
    const Exchange exchange = Transact(session, kReadRequestBytes, kFrameSize);
    ASSERT_EQ(exchange.answer.size(), kFrameSize);
    EXPECT_EQ(CheckFrame(exchange.answer), FrameCheck::Accepted);
    EXPECT_EQ(exchange.answer[FrameOffset::kType], 'R');
    EXPECT_EQ(exchange.answer[FrameOffset::kPowerClass], '2');
    EXPECT_EQ(exchange.answer[FrameOffset::kMac + 5], 0xBC);
    session.Close();

    const int status = program.Terminate();
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(ModuleSimProgramTest, CountStartsOneModuleAPortEachWithItsOwnMac) {
    SimulatorProgram program({"--count", "3", "--mac", "12 34 56 78 9a bc", "--at-once"});
    std::vector<std::string> paths;
    for (int i = 0; i < 3; ++i) {
        paths.push_back(program.Line());
        ASSERT_EQ(paths.back().rfind("/dev/", 0), 0U) << paths.back();
    }
    EXPECT_EQ(program.Line().find("/dev/"), std::string::npos);  // the hint, no fourth path
    for (std::size_t i = 0; i < paths.size(); ++i) {
        EXPECT_EQ(ReadOnce(paths[i])[FrameOffset::kMac + 5], 0xBC + i) << paths[i];
    }
    const int status = program.Terminate();
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(ModuleSimProgramTest, StoreOtherIsAMisbehaviourOfTheProgram) {
    SimulatorProgram program({"--misbehave", "store-other", "--at-once"});
    const std::string path = program.Line();
    ConfigFrame frame = ReadOnce(path);
    frame[FrameOffset::kMac] = 0x01;
    SealFrame(frame);
    SerialSession session;
    ASSERT_EQ(session.Open(path), OpenOutcome::Opened);
    EXPECT_EQ(Transact(session, frame, 4).answer, Bytes("ATOK"));
    session.Close();
    EXPECT_NE(ReadOnce(path), frame);
}

TEST(ModuleSimProgramTest, NameIsGivenAsBytes) {
    SimulatorProgram program({"--at-once", "--name", "4C 75 6D 69 76 61 72 6F FF 0A 1B"});
    const ConfigFrame frame = ReadOnce(program.Line());
    const std::array<std::uint8_t, 12> expected{'L', 'u', 'm',  'i',  'v',  'a',
                                                'r', 'o', 0xFF, 0x0A, 0x1B, 0x00};
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), frame.begin() + FrameOffset::kName));
}

struct BadCountRow {
    const char* name;
    const char* count;
};

void PrintTo(const BadCountRow& row, std::ostream* out) {
    *out << row.name;
}

class ModuleSimBadCountTest : public ::testing::TestWithParam<BadCountRow> {};

TEST_P(ModuleSimBadCountTest, IsRefusedWithUsage) {
    SimulatorProgram program({"--count", GetParam().count});
    EXPECT_EQ(program.Line(), "");  // nothing on standard output
    const int status = program.Wait();
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 2);
}

INSTANTIATE_TEST_SUITE_P(Counts, ModuleSimBadCountTest,
                         ::testing::Values(BadCountRow{"Zero", "0"}, BadCountRow{"TooMany", "65"},
                                           BadCountRow{"NoNumber", "three"},
                                           BadCountRow{"TrailingText", "2x"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
