// The production run's rules, tested once, here, against simulated modules on pseudo-terminals
// and a real store on each backend: how each attempt is settled by what its module holds, that
// a programmed module is left alone, that an empty pool stops only new MACs, and that no MAC
// from the pool, a start MAC or a MAC a person gave reaches two modules.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "run_rig.h"
#include "station/order_config.h"

namespace {

using std::chrono::milliseconds;
using RunTest = RunRig<BackendKind>;

MacNumber MacHeld(const SimulatedModule& module) {
    return MacToNumber(MacOfFrame(module.StoredFrame()));
}

// One module whose write goes as the row says, and where its MAC ends.
struct SettleRow {
    const char* name;
    Misbehaviour fault;  // of the write; reads are answered as ever
    int ackLimitMs;
    bool verify;
    ModuleOutcome outcome;
    MacState state;    // of the MAC sent, once settled
    bool holds;        // the module holds that MAC afterwards
    const char* note;  // in the record's note
};

void PrintTo(const SettleRow& row, std::ostream* out) {
    *out << row.name;
}

using M = Misbehaviour;
using O = ModuleOutcome;
using S = MacState;

const SettleRow kSettleRows[] = {
    {"Acknowledged", M::None, 1000, true, O::Succeeded, S::Verified, true, ""},
    {"AcknowledgedUnverified", M::None, 1000, false, O::Succeeded, S::Verified, true, ""},
    {"AcknowledgementLost", M::StoreNoAck, 1000, true, O::Succeeded, S::Verified, true,
     "acknowledgement lost"},
    {"AcknowledgementLostIsReadBackUnverifiedToo", M::StoreNoAck, 1000, false, O::Succeeded,
     S::Verified, true, "acknowledgement lost"},
    {"AcknowledgementGarbled", M::ShortAnswer, 1000, true, O::Succeeded, S::Verified, true,
     "acknowledgement lost"},
    {"AcknowledgementLateWithinTheWait", M::StoreLateAck, 1000, true, O::Succeeded, S::Verified,
     true, ""},
    {"AcknowledgementLaterThanTheWait", M::StoreLateAck, 40, true, O::Succeeded, S::Verified, true,
     "acknowledgement lost"},
    {"AterButStored", M::StoreAter, 1000, true, O::Succeeded, S::Verified, true,
     "acknowledgement lost"},
    {"AterAndTheOldBlockKept", M::RefuseWrite, 1000, true, O::NotAcknowledged, S::Free, false, ""},
    {"HungUpAfterStoring", M::StoreHangUp, 1000, true, O::MacSuspect, S::Suspect, true, "suspect"},
    {"ReadBackOfAnotherBlock", M::StoreOther, 1000, true, O::VerifyFailed, S::Failed, true, ""},
};

class SettlingTest : public RunRig<std::tuple<BackendKind, SettleRow>> {};

TEST_P(SettlingTest, SettlesTheAttemptByWhatTheModuleHolds) {
    const SettleRow& row = std::get<1>(GetParam());
    ASSERT_TRUE(m_store->AddRange(kPoolStart, 4).Ok());
    SimulatedModule& module = AddModule();
    SimulatedModule& next = AddModule();
    module.MisbehaveOnce(RequestKind::Write, row.fault);
    RunSetup setup = Setup();
    setup.attempt.ackLimit = milliseconds(row.ackLimitMs);
    setup.attempt.verify = row.verify;
    const std::unique_ptr<ProductionRun> run = OpenRun(setup);

    const Ended ended = Program(*run, module);
    EXPECT_EQ(ended.result.outcome, row.outcome) << ModuleOutcomeReason(ended.result.outcome);
    ASSERT_TRUE(ended.kept.Ok()) << ended.kept.message;
    EXPECT_EQ(StateOf(kPoolStart), row.state);
    EXPECT_EQ(MacHeld(module) == kPoolStart, row.holds);
    EXPECT_EQ(module.WriteRequests(), 1);
    // The record says what happened, the MAC of the frame sent included.
    EXPECT_EQ(ended.record.reason, ModuleOutcomeReason(row.outcome));
    EXPECT_EQ(ended.record.macSent, std::optional<MacNumber>(kPoolStart));
    EXPECT_NE(ended.record.note.find(row.note), std::string::npos) << ended.record.note;
    EXPECT_EQ(ended.record.note.empty(), *row.note == '\0') << ended.record.note;
    EXPECT_EQ(!ended.record.configSha256.empty(),
              row.state == S::Verified || row.state == S::Failed);

    // Only a module found holding its old block gives the MAC to the next one.
    ASSERT_EQ(Program(*run, next).result.outcome, O::Succeeded);
    EXPECT_EQ(MacHeld(next), row.state == S::Free ? kPoolStart : kPoolStart + 1);
}

INSTANTIATE_TABLE_FOR_BOTH_BACKENDS(SettlingTest, kSettleRows);

TEST_P(RunTest, ReadsEachModuleOnceBeforeItsWriteAndKeepsItsIdentity) {
    ASSERT_TRUE(m_store->AddRange(kPoolStart, 4).Ok());
    SimulatedModule& module = AddModule();
    const ConfigFrame before = module.StoredFrame();
    RunSetup setup = Setup();
    setup.attempt.verify = false;
    const Ended ended = Program(*OpenRun(setup), module);
    ASSERT_EQ(ended.result.outcome, O::Succeeded);
    EXPECT_EQ(module.ReadRequests(), 1);
    EXPECT_EQ(module.WriteRequests(), 1);
    EXPECT_TRUE(std::equal(before.begin() + FrameOffset::kName,
                           before.begin() + FrameOffset::kIdentityEnd,
                           module.StoredFrame().begin() + FrameOffset::kName));
    EXPECT_EQ(module.StoredFrame()[FrameOffset::kNetworkIdLow], 0x45);
    EXPECT_EQ(ended.record.macBefore, FormatMacAddress(MacOfFrame(before)));
    EXPECT_FALSE(ended.record.verified.has_value());
}

// Eight modules at once, from the pool and then from a start MAC: one MAC each, none twice.
TEST_P(RunTest, ModulesAtOnceGetOneMacEach) {
    ASSERT_TRUE(m_store->AddRange(kPoolStart, 8).Ok());
    for (const MacPlan& plan :
         {MacPlan{}, MacPlan{MacPlan::From::StartMac, MacFromNumber(0x4C5600050000)}}) {
        const std::unique_ptr<ProductionRun> run = OpenRun(Setup(plan));
        std::set<MacNumber> held;
        std::vector<SimulatedModule*> modules;
        for (int i = 0; i < 8; ++i) {
            modules.push_back(&AddModule());
            ASSERT_TRUE(run->Program(modules.back()->PortPath()));
        }
        run->Wait();
        for (const SimulatedModule* module : modules) {
            held.insert(MacHeld(*module));
        }
        EXPECT_EQ(held.size(), 8u);
        EXPECT_EQ(*held.rbegin() - *held.begin(), 7u);
        EXPECT_EQ(run->Summary().programmed, 8);
    }
}

TEST_P(RunTest, AProgrammedModuleIsLeftAloneAndAnEmptyPoolStopsOnlyNewMacs) {
    ASSERT_TRUE(m_store->AddRange(kPoolStart, 1).Ok());
    SimulatedModule& programmed = AddModule();
    SimulatedModule& fresh = AddModule();
    const std::unique_ptr<ProductionRun> run = OpenRun(Setup());
    ASSERT_EQ(Program(*run, programmed).result.outcome, O::Succeeded);

    const Ended none = Program(*run, fresh);
    EXPECT_EQ(none.result.outcome, O::PoolEmpty);
    EXPECT_EQ(fresh.WriteRequests(), 0);
    EXPECT_EQ(none.record.outcome, "failed");

    // Plugged in again while the pool is empty: recognised, not written.
    const Ended again = Program(*run, programmed);
    EXPECT_EQ(again.result.outcome, O::AlreadyProgrammed);
    EXPECT_EQ(programmed.WriteRequests(), 1);
    EXPECT_EQ(again.record.outcome, "skipped");
    EXPECT_NE(again.record.note.find("station line-1"), std::string::npos) << again.record.note;
    ASSERT_TRUE(again.result.decision.programmed);
    EXPECT_EQ(again.result.decision.programmed->mac, kPoolStart);

    // MACs added while the run waits are taken by the next module.
    ASSERT_TRUE(m_store->AddRange(kPoolStart + 1, 1).Ok());
    EXPECT_EQ(Program(*run, fresh).result.outcome, O::Succeeded);
    EXPECT_EQ(MacHeld(fresh), kPoolStart + 1);
    const RunSummary summary = run->Summary();
    EXPECT_EQ(summary.programmed, 2);
    EXPECT_EQ(summary.alreadyProgrammed, 1);
    EXPECT_EQ(summary.failed, 1);
}

TEST_P(RunTest, ReworkWritesAProgrammedModuleAgainKeepingItsMac) {
    ASSERT_TRUE(m_store->AddRange(kPoolStart, 2).Ok());
    SimulatedModule& module = AddModule();
    ASSERT_EQ(Program(*OpenRun(Setup()), module).result.outcome, O::Succeeded);
    RunSetup setup = Setup();
    setup.rework = true;
    setup.attempt.settings.m_nNetworkId = 0x3456;
    const Ended reworked = Program(*OpenRun(setup), module);
    EXPECT_EQ(reworked.result.outcome, O::Succeeded);
    EXPECT_EQ(module.WriteRequests(), 2);
    EXPECT_EQ(MacHeld(module), kPoolStart);
    EXPECT_TRUE(reworked.record.rework);
    EXPECT_EQ(m_store->Status().value.free, 1u);
}

TEST_P(RunTest, AStartMacMovesOnWithEveryMacSentAndNeverRepeats) {
    const MacNumber kStart = kPoolStart + 0x10;  // above the pool, and above the run up to it
    ASSERT_TRUE(m_store->AddRange(kPoolStart, 4).Ok());
    // Run up to the pool, a start MAC names no next MAC: the next module would get none.
    const auto edge = OpenRun(Setup({MacPlan::From::StartMac, MacFromNumber(kPoolStart - 1)}));
    ASSERT_EQ(Program(*edge, AddModule()).result.outcome, O::Succeeded);
    EXPECT_EQ(edge->Summary().nextMac, std::nullopt);
    {
        const std::unique_ptr<ProductionRun> run =
            OpenRun(Setup({MacPlan::From::StartMac, MacFromNumber(kStart)}));
        ASSERT_EQ(Program(*run, AddModule()).result.outcome, O::Succeeded);
        SimulatedModule& refusing = AddModule();
        refusing.MisbehaveOnce(RequestKind::Write, M::RefuseWrite);
        EXPECT_EQ(Program(*run, refusing).result.outcome, O::NotAcknowledged);
        SimulatedModule& taker = AddModule();
        ASSERT_EQ(Program(*run, taker).result.outcome, O::Succeeded);
        EXPECT_EQ(MacHeld(taker), kStart + 1) << "a MAC the module did not take goes again";
        SimulatedModule& vanishing = AddModule();
        vanishing.MisbehaveOnce(RequestKind::Write, M::StoreHangUp);
        EXPECT_EQ(Program(*run, vanishing).result.outcome, O::MacSuspect);
        SimulatedModule& last = AddModule();
        ASSERT_EQ(Program(*run, last).result.outcome, O::Succeeded);
        EXPECT_EQ(MacHeld(last), kStart + 3) << "a suspect MAC is skipped";
        const RunSummary summary = run->Summary();
        EXPECT_EQ(summary.nextMac, MacFromNumber(kStart + 4));
        EXPECT_EQ(summary.suspectMacs, std::vector<MacAddress>{MacFromNumber(kStart + 2)});
        EXPECT_TRUE(summary.unusedMacs.empty());
    }
    // Started again from the same MAC, as after a restart: refused, naming the last MAC sent.
    const auto again =
        ProductionRun::Open(*m_store, Setup({MacPlan::From::StartMac, MacFromNumber(kStart)}), {});
    EXPECT_EQ(again.outcome, StoreOutcome::MacTaken);
    EXPECT_NE(again.message.find(FormatMacAddress(MacFromNumber(kStart + 3))), std::string::npos)
        << again.message;
    EXPECT_EQ(ProductionRun::Open(
                  *m_store, Setup({MacPlan::From::StartMac, MacFromNumber(kPoolStart + 2)}), {})
                  .outcome,
              StoreOutcome::MacInPool);
    EXPECT_TRUE(ProductionRun::Open(*m_store,
                                    Setup({MacPlan::From::StartMac, MacFromNumber(kStart + 4)}), {})
                    .Ok());
}

TEST_P(RunTest, AStartMacStopsAfterTheLastAddressInsteadOfWrapping) {
    const std::unique_ptr<ProductionRun> run =
        OpenRun(Setup({MacPlan::From::StartMac, MacFromNumber(kMacNumberLimit - 1)}));
    ASSERT_EQ(Program(*run, AddModule()).result.outcome, O::Succeeded);
    SimulatedModule& after = AddModule();
    const Ended none = Program(*run, after);
    EXPECT_EQ(none.result.outcome, O::PoolEmpty);
    EXPECT_NE(none.result.decision.take.message.find("FF:FF:FF:FF:FF:FF"), std::string::npos);
    EXPECT_EQ(after.WriteRequests(), 0);
}

TEST_P(RunTest, AGivenMacGoesToOneModuleOnlyAndNeverComesFromThePool) {
    constexpr MacNumber kGiven = 0x4C5600030000;
    ASSERT_TRUE(m_store->AddRange(kPoolStart, 4).Ok());
    EXPECT_EQ(ProductionRun::Open(*m_store,
                                  Setup({MacPlan::From::GivenMac, MacFromNumber(kPoolStart)}), {})
                  .outcome,
              StoreOutcome::MacInPool);
    RunSetup setup = Setup({MacPlan::From::GivenMac, MacFromNumber(kGiven)});
    setup.writeProgrammed = true;
    SimulatedModule& first = AddModule();
    SimulatedModule& other = AddModule();
    ASSERT_EQ(Program(*OpenRun(setup), first).result.outcome, O::Succeeded);
    const Ended refused = Program(*OpenRun(setup), other);
    EXPECT_EQ(refused.result.outcome, O::MacRefused);
    EXPECT_EQ(other.WriteRequests(), 0);
    // The module that holds it may be written again with it: a rework.
    const Ended again = Program(*OpenRun(setup), first);
    EXPECT_EQ(again.result.outcome, O::Succeeded);
    EXPECT_TRUE(again.record.rework);
}

// A store that stops answering is a server's doing; a file does not go away under a station.
TEST_P(RunTest, AFailedStoreStopsTheRunBeforeTheNextModuleIsTouched) {
    if (GetParam() != BackendKind::Postgres) {
        GTEST_SKIP() << "only a server's store can stop answering under a running station";
    }
    ASSERT_TRUE(m_store->AddRange(kPoolStart, 4).Ok());
    const std::unique_ptr<ProductionRun> run = OpenRun(Setup());
    ASSERT_TRUE(m_backend->DropConnections());
    SimulatedModule& first = AddModule();
    SimulatedModule& second = AddModule();
    EXPECT_EQ(Program(*run, first).result.outcome, O::StoreFailed);
    EXPECT_EQ(first.WriteRequests(), 0);
    ASSERT_TRUE(run->Stopped());
    const Ended untouched = Program(*run, second);
    EXPECT_EQ(untouched.result.outcome, O::StoreFailed);
    EXPECT_EQ(second.ReadRequests() + second.WriteRequests(), 0);
}

// An order's run writes the order's block, not its own settings, counts in the store, and
// once the order is complete leaves modules alone; its station row follows it to the end.
TEST_P(RunTest, AnOrdersRunProgramsItsBlockUpToTheQuantityAndKeepsItsStationRow) {
    ASSERT_TRUE(m_store->AddRange(kPoolStart, 8).Ok());
    SimulatedModule& first = AddModule();
    ConfigFrame block = first.StoredFrame();
    block[FrameOffset::kNetworkIdLow] = 0x77;
    SealFrame(block);
    ASSERT_TRUE(m_store->CreateOrder(NewOrderOf("WO-2", block, 2, "wo.cfg", "lead")).Ok());
    RunSetup setup = Setup();
    setup.order = "WO-2";
    setup.keepsStationRow = true;
    setup.program = "test";
    std::unique_ptr<ProductionRun> run = OpenRun(setup);
    ASSERT_TRUE(run);
    EXPECT_EQ(m_store->Stations().value.at(0).state, StationState::Running);

    const Ended programmed = Program(*run, first);
    ASSERT_EQ(programmed.result.outcome, O::Succeeded);
    EXPECT_EQ(first.StoredFrame()[FrameOffset::kNetworkIdLow], 0x77);
    EXPECT_EQ(programmed.record.order, "WO-2");
    EXPECT_EQ(programmed.record.configFile, "wo.cfg");
    ASSERT_EQ(Program(*run, AddModule()).result.outcome, O::Succeeded);
    SimulatedModule& spare = AddModule();
    const Ended spared = Program(*run, spare);
    EXPECT_EQ(spared.result.outcome, O::OrderComplete);
    EXPECT_EQ(spared.record.outcome, "skipped");
    EXPECT_EQ(spare.WriteRequests(), 0);
    EXPECT_TRUE(run->Summary().orderComplete);
    EXPECT_EQ(m_store->Order("WO-2").value.row.state, OrderState::Complete);

    run.reset();
    const StationRow row = m_store->Stations().value.at(0);
    EXPECT_EQ(row.state, StationState::Stopped);
    EXPECT_EQ(row.order, "WO-2");
    EXPECT_EQ(row.done, 2);
    // A complete order starts no run.
    EXPECT_EQ(ProductionRun::Open(*m_store, setup, {}).outcome, StoreOutcome::OrderNotOpen);
}

// A block damaged in the store is checked as a damaged file is, and starts no run.
TEST_P(RunTest, AnOrdersBlockThatFailsItsChecksStartsNoRun) {
    ConfigFrame block = SimulatedModule().StoredFrame();
    SealFrame(block);
    block[FrameOffset::kNetworkIdLow] ^= 0x01;  // the CRC no longer matches
    ASSERT_TRUE(m_store->CreateOrder(NewOrderOf("WO-crc", block, 2, "wo.cfg", "lead")).Ok());
    NewOrder tampered = NewOrderOf("WO-sha", SimulatedModule().StoredFrame(), 2, "wo.cfg", "lead");
    tampered.configSha256 = std::string(64, '0');
    ASSERT_TRUE(m_store->CreateOrder(tampered).Ok());
    for (const char* order : {"WO-crc", "WO-sha"}) {
        RunSetup setup = Setup();
        setup.order = order;
        const auto opened = ProductionRun::Open(*m_store, setup, {});
        EXPECT_EQ(opened.outcome, StoreOutcome::OrderInvalid) << order;
        EXPECT_NE(opened.message.find(order), std::string::npos) << opened.message;
    }
}

INSTANTIATE_FOR_BOTH_BACKENDS(RunTest);

}  // namespace
