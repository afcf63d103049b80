#include <algorithm>
#include <optional>
#include <ostream>

#include "link/module_exchange.h"
#include "link_test_support.h"

namespace {

// One exchange against a module that misbehaves once, and how it must end. A row names either
// a read or a write outcome.
struct ExchangeRow {
    const char* name;
    Misbehaviour misbehaviour;
    std::optional<ModuleReadOutcome> read;
    std::optional<ModuleWriteOutcome> write;
    bool sealed = true;       // the written frame carries a matching CRC
    bool sessionOpen = true;  // false: the exchange runs on a closed session
};

void PrintTo(const ExchangeRow& row, std::ostream* out) {
    *out << row.name;
}

ExchangeRow ReadRow(const char* name, Misbehaviour misbehaviour, ModuleReadOutcome outcome) {
    return {name, misbehaviour, outcome, std::nullopt};
}

ExchangeRow WriteRow(const char* name, Misbehaviour misbehaviour, ModuleWriteOutcome outcome) {
    return {name, misbehaviour, std::nullopt, outcome};
}

class ModuleExchangeTest : public ModuleOnPty, public ::testing::WithParamInterface<ExchangeRow> {
  protected:
    ConfigFrame FrameToWrite() const {
        ConfigFrame frame = m_module.StoredFrame();
        frame[FrameOffset::kMac + 5] ^= 0x5A;
        if (GetParam().sealed) {
            SealFrame(frame);
        }
        return frame;
    }
};

TEST_P(ModuleExchangeTest, EndsWithTheExpectedOutcome) {
    const ExchangeRow& row = GetParam();
    m_module.MisbehaveOnce(row.misbehaviour);
    const ConfigFrame toWrite = FrameToWrite();
    if (!row.sessionOpen) {
        m_session.Close();
    }
    if (row.read) {
        ConfigFrame frame{};
        EXPECT_EQ(ModuleReadOutcomeName(::ReadModuleFrame(m_session, frame)),
                  std::string(ModuleReadOutcomeName(*row.read)));
    } else {
        EXPECT_EQ(ModuleWriteOutcomeName(::WriteModuleFrame(m_session, toWrite)),
                  std::string(ModuleWriteOutcomeName(*row.write)));
    }
}

using R = ModuleReadOutcome;
using W = ModuleWriteOutcome;
using M = Misbehaviour;

INSTANTIATE_TEST_SUITE_P(
    Outcomes, ModuleExchangeTest,
    ::testing::Values(
        ReadRow("ReadGoodFrame", M::None, R::Read), ReadRow("ReadSilent", M::Silent, R::NoAnswer),
        ReadRow("ReadShort", M::ShortAnswer, R::LengthMismatch),
        ReadRow("ReadLongTakesTheFirst518", M::LongAnswer, R::Read),
        ReadRow("ReadBadMagic", M::CorruptMagic, R::MagicMismatch),
        ReadRow("ReadBadCrc", M::CorruptCrc, R::CrcMismatch),
        ReadRow("ReadCrcHighByteFirst", M::CrcHighByteFirst, R::CrcMismatch),
        ReadRow("ReadPausedMidAnswer", M::PauseMidAnswer, R::LengthMismatch),
        ReadRow("ReadModuleVanishes", M::VanishMidAnswer, R::PortReadFailed),
        ReadRow("ReadStoreOtherIsNoReadFault", M::StoreOther, R::Read),
        ExchangeRow{"ReadOnClosedSession", M::None, R::PortWriteFailed, std::nullopt, true, false},
        WriteRow("WriteAcknowledged", M::None, W::Acknowledged),
        WriteRow("WriteSilent", M::Silent, W::NotAcknowledged),
        WriteRow("WriteShortAck", M::ShortAnswer, W::NotAcknowledged),
        WriteRow("WriteLongAckTakesTheFirst4", M::LongAnswer, W::Acknowledged),
        WriteRow("WritePausedMidAck", M::PauseMidAnswer, W::NotAcknowledged),
        WriteRow("WriteModuleVanishes", M::VanishMidAnswer, W::PortReadFailed),
        WriteRow("WriteStoreOtherIsAcknowledged", M::StoreOther, W::Acknowledged),
        WriteRow("WriteStoredButUnanswered", M::StoreNoAck, W::NotAcknowledged),
        WriteRow("WriteStoredButAnsweredAter", M::StoreAter, W::NotAcknowledged),
        WriteRow("WriteRefused", M::RefuseWrite, W::NotAcknowledged),
        WriteRow("WriteStoredThenHungUp", M::StoreHangUp, W::PortReadFailed),
        ExchangeRow{"WriteRejectedFrame", M::None, std::nullopt, W::NotAcknowledged, false},
        ExchangeRow{"WriteOnClosedSession", M::None, std::nullopt, W::NotSent, true, false}),
    [](const auto& info) { return std::string(info.param.name); });

// The wait for "ATOK" is the caller's: the window's 54 ms misses a module that answers after
// 100 ms, a production line's second does not.
using LateAcknowledgementTest = ModuleOnPty;

TEST_F(LateAcknowledgementTest, CountsWithinTheLimitGiven) {
    ConfigFrame frame = m_module.StoredFrame();
    SealFrame(frame);
    m_module.MisbehaveOnce(Misbehaviour::StoreLateAck);
    EXPECT_EQ(::WriteModuleFrame(m_session, frame), ModuleWriteOutcome::NotAcknowledged);
    ASSERT_TRUE(m_module.WaitForAnswers(1, std::chrono::seconds(2)));
    m_module.MisbehaveOnce(Misbehaviour::StoreLateAck);
    m_session.DiscardInput();  // the late answer to the first write
    EXPECT_EQ(::WriteModuleFrame(m_session, frame, std::chrono::milliseconds(1000)),
              ModuleWriteOutcome::Acknowledged);
}

using ModuleReadFrameTest = ModuleOnPty;

TEST_F(ModuleReadFrameTest, ReceivedBytesStayInTheFrameWhateverTheChecksFind) {
    m_module.MisbehaveOnce(Misbehaviour::ShortAnswer);
    ConfigFrame frame{};
    frame.back() = 0xEE;
    std::size_t received = 0;
    EXPECT_EQ(::ReadModuleFrame(m_session, frame, received), ModuleReadOutcome::LengthMismatch);
    EXPECT_EQ(received, kFrameSize - 1);
    const ConfigFrame stored = m_module.StoredFrame();
    EXPECT_TRUE(std::equal(stored.begin(), stored.end() - 1, frame.begin()));
    EXPECT_EQ(frame.back(), 0xEE);  // the byte that never came keeps what was there
}

TEST_F(ModuleReadFrameTest, WrittenFrameReadsBack) {
    ConfigFrame frame = m_module.StoredFrame();
    frame[FrameOffset::kNetworkIdLow] = 0x42;
    SealFrame(frame);
    ASSERT_EQ(::WriteModuleFrame(m_session, frame), ModuleWriteOutcome::Acknowledged);
    ConfigFrame readBack{};
    ASSERT_EQ(::ReadModuleFrame(m_session, readBack), ModuleReadOutcome::Read);
    EXPECT_TRUE(std::equal(frame.begin() + FrameOffset::kBlock, frame.end(),
                           readBack.begin() + FrameOffset::kBlock));
}

}  // namespace
