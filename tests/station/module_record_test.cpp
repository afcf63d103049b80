// The production record of a programming job, from real jobs against a simulated module: what
// the record says of the module, the block and the steps follows what the job did.
#include <gtest/gtest.h>

#include <optional>
#include <span>
#include <string>

#include "link/announced_ports.h"
#include "model/mac_address.h"
#include "station/module_record.h"
#include "station/windowless_program.h"
#include "store/sha256.h"
#include "tools/module_sim/simulated_module.h"

namespace {

constexpr MacAddress kJobMac{0x4C, 0x56, 0x00, 0x00, 0x20, 0x00};

struct RecordRow {
    const char* name;
    std::optional<RequestKind> kind;  // the request that misbehaves, if any
    Misbehaviour misbehaviour;
    bool verify;
    const char* outcome;
    const char* reason;
    bool moduleRead;    // the record names the module as read before programming
    bool acknowledged;  // the record fingerprints the block the module took
};

const RecordRow kRows[] = {
    {"VerifiedWrite", std::nullopt, Misbehaviour::None, true, "ok", "ok", true, true},
    {"UnverifiedWriteHasNoVerificationResult", std::nullopt, Misbehaviour::None, false, "ok", "ok",
     true, true},
    {"ReadBackMismatch", RequestKind::Write, Misbehaviour::StoreOther, true, "failed",
     "verify_failed", true, true},
    {"SilentModuleNamesNoModuleAndNoBlock", RequestKind::Read, Misbehaviour::Silent, true, "failed",
     "no_answer", false, false},
    {"RefusedFrameNamesNoModule", RequestKind::Read, Misbehaviour::CorruptCrc, true, "failed",
     "crc_error", false, false},
    {"UnacknowledgedWriteHasNoBlock", RequestKind::Write, Misbehaviour::ShortAnswer, true, "failed",
     "not_acknowledged", true, false},
};

class RecordOfJobTest : public ::testing::TestWithParam<RecordRow> {};

TEST_P(RecordOfJobTest, SaysWhatTheJobDid) {
    const RecordRow& row = GetParam();
    SimulatedModule module;
    ASSERT_TRUE(module.Start());
    const MacAddress macBefore = MacOfFrame(module.StoredFrame());
    if (row.kind) {
        module.MisbehaveOnce(*row.kind, row.misbehaviour);
    }
    ModuleJob job;
    job.portText = module.PortPath();
    job.settings = SettingsFromFrame(module.StoredFrame());
    job.mac = kJobMac;
    job.verify = row.verify;
    const AnnouncedPorts announced;
    const ModuleJobResult result = ProgramModuleWindowless(job, announced);

    const ModuleAttempt attempt{
        "line-1", module.PortPath(), "pci-0000:00:14.0-usb-0:2:1.0-port0", "golden.cfg", 1000, 1900,
        kJobMac,  row.verify};
    const ProductionRecord record = RecordOfJob(attempt, result);
    EXPECT_EQ(record.outcome, row.outcome);
    EXPECT_EQ(record.reason, row.reason);
    EXPECT_EQ(record.station, "line-1");
    EXPECT_EQ(record.portByPath, attempt.portByPath);
    EXPECT_EQ(record.timeStart, 1000);
    EXPECT_EQ(record.timeEnd, 1900);
    EXPECT_EQ(record.macWritten, FormatMacAddress(kJobMac));
    EXPECT_EQ(record.macBefore, row.moduleRead ? FormatMacAddress(macBefore) : "");
    EXPECT_EQ(!record.moduleName.empty(), row.moduleRead);
    EXPECT_TRUE(record.readMs.has_value()) << "the read ran, whatever it found";
    const std::string block =
        row.acknowledged ? Sha256Hex(std::span<const std::uint8_t>(result.sent).subspan(4, 512))
                         : std::string();
    EXPECT_EQ(record.configSha256, block);
    const bool verified = row.verify && row.acknowledged;
    EXPECT_EQ(record.verified.has_value(), verified);
    EXPECT_EQ(record.verifyMs.has_value(), verified);
    if (verified) {
        EXPECT_EQ(*record.verified, std::string(row.outcome) == "ok");
    }
}

INSTANTIATE_TEST_SUITE_P(Station, RecordOfJobTest, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<RecordRow>& info) {
                             return info.param.name;
                         });

}  // namespace
