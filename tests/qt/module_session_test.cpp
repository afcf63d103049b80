// Read and Write in the real window against a simulated module, named in the port box either
// as COM3 (it was plugged in) or by its device path.

#include <gtest/gtest.h>

#include <QMessageBox>
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "modal_answerer.h"
#include "model/config_frame.h"
#include "model/control_ids.h"
#include "plugged_module_session.h"
#include "tests/support/report_texts.h"
#include "tools/module_sim/module_identity.h"
#include "tools/module_sim/simulated_module.h"

namespace {

using namespace report_text;

// The module's own address ends in FF, so the advance after a Write carries into the next byte.
constexpr const char* kModuleMac = "4C 56 12 34 56 FF";
constexpr const char* kNextMac = "4C 56 12 34 57 00";

SimulatedModuleOptions ModuleOptions() {
    SimulatedModuleOptions options;
    options.identity.role = ModuleRole::Root;
    options.identity.mac = {0x4C, 0x56, 0x12, 0x34, 0x56, 0xFF};
    return options;
}

std::string MacTextOf(const ConfigFrame& frame) {
    std::string text;
    for (std::size_t i = 0; i < FrameOffset::kMacLength; ++i) {
        static constexpr char kDigits[] = "0123456789ABCDEF";
        const std::uint8_t byte = frame[FrameOffset::kMac + i];
        text += i == 0 ? "" : " ";
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}

constexpr int kComNumber = 3;

class ModuleSession : public PluggedModuleSession {
  protected:
    ModuleSession() : PluggedModuleSession(ModuleOptions()) {}

    // Clicks `command` with every box it opens answered with OK.
    std::vector<SeenModal> Command(int command) {
        ModalScript boxes(&Dialog());
        boxes.Then(ClickInBox(QMessageBox::Ok));
        Click(command);
        EXPECT_EQ(boxes.Stuck(), 0);
        return boxes.Seen();
    }

    // The module plugged in; the port box names it.
    bool Connected() {
        const bool heard = PlugAndWait(kComNumber);
        EXPECT_TRUE(heard);
        EXPECT_EQ(Shown(IDC_COM_PORT), "COM3");
        return heard;
    }
};

}  // namespace

TEST_F(ModuleSession, ReadShowsTheModuleSettings) {
    std::vector<SeenModal> boxes;
    std::string status;
    std::string mac;
    Run([&] {
        if (!Connected()) {
            return Quit();
        }
        boxes = Command(IDC_READ);
        status = Shown(IDC_STATUS);
        mac = Shown(IDC_MAC);
        Quit();
    });
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(status, kReadSucceeded);
    EXPECT_EQ(mac, kModuleMac);
    EXPECT_EQ(module.ReadRequests(), 1);
    EXPECT_EQ(module.WriteRequests(), 0);
}

TEST_F(ModuleSession, WriteProgramsTheModuleAndAdvancesTheMac) {
    std::vector<SeenModal> boxes;
    std::string status;
    std::string mac;
    std::string type;
    Run([&] {
        if (!Connected()) {
            return Quit();
        }
        static_cast<void>(Command(IDC_READ));
        boxes = Command(IDC_WRITE);
        status = Shown(IDC_STATUS);
        mac = Shown(IDC_MAC);
        type = Shown(IDC_TYPE);
        Quit();
    });
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(status, kWriteSucceeded);
    EXPECT_EQ(mac, kNextMac);
    EXPECT_EQ(type, "ROOT");
    const std::optional<ConfigFrame> written = module.LastWrittenFrame();
    ASSERT_TRUE(written.has_value());
    EXPECT_EQ(CheckFrame(*written), FrameCheck::Accepted);
    EXPECT_EQ(MacTextOf(*written), kModuleMac);
    EXPECT_EQ(module.StoredFrame(), *written);
    const ConfigFrame own = MakeModuleFrame(ModuleOptions().identity);
    EXPECT_TRUE(std::equal(own.begin() + FrameOffset::kName,
                           own.begin() + FrameOffset::kIdentityEnd,
                           written->begin() + FrameOffset::kName));
}

TEST_F(ModuleSession, SecondWriteGivesTheNextModuleTheNextAddress) {
    std::string mac;
    Run([&] {
        if (!Connected()) {
            return Quit();
        }
        static_cast<void>(Command(IDC_READ));
        EXPECT_TRUE(Command(IDC_WRITE).empty());
        EXPECT_TRUE(Command(IDC_WRITE).empty());
        mac = Shown(IDC_MAC);
        Quit();
    });
    EXPECT_EQ(mac, "4C 56 12 34 57 01");
    const std::optional<ConfigFrame> written = module.LastWrittenFrame();
    ASSERT_TRUE(written.has_value());
    EXPECT_EQ(MacTextOf(*written), kNextMac);
}

TEST_F(ModuleSession, SilentModuleOnWriteGetsTheErrorBoxAndKeepsTheMac) {
    std::vector<SeenModal> boxes;
    std::string status;
    std::string mac;
    Run([&] {
        if (!Connected()) {
            return Quit();
        }
        static_cast<void>(Command(IDC_READ));
        module.MisbehaveOnce(RequestKind::Write, Misbehaviour::Silent);
        boxes = Command(IDC_WRITE);
        status = Shown(IDC_STATUS);
        mac = Shown(IDC_MAC);
        Quit();
    });
    ASSERT_EQ(boxes.size(), 1U);
    EXPECT_EQ(boxes[0].text, kModuleWriteFailed);
    EXPECT_EQ(boxes[0].caption, kCaption);
    EXPECT_EQ(boxes[0].icon, QMessageBox::Critical);
    EXPECT_EQ(status, kModuleWriteFailed);
    EXPECT_EQ(mac, kModuleMac);
    EXPECT_EQ(module.WriteRequests(), 1);
}

TEST_F(ModuleSession, EmptyPortBoxGivesOnlyTheChoosePortBox) {
    for (int command : {IDC_READ, IDC_WRITE}) {
        std::vector<SeenModal> boxes;
        std::string status;
        std::string mac;
        std::string macBefore;
        Run([&] {
            Type(IDC_COM_PORT, "");
            macBefore = Shown(IDC_MAC);
            boxes = Command(command);
            status = Shown(IDC_STATUS);
            mac = Shown(IDC_MAC);
            Quit();
        });
        ASSERT_EQ(boxes.size(), 1U) << command;
        EXPECT_EQ(boxes[0].text, kChoosePort) << command;
        EXPECT_EQ(boxes[0].caption, kCaption) << command;
        EXPECT_EQ(boxes[0].icon, QMessageBox::Critical) << command;
        EXPECT_EQ(status, "") << command;
        EXPECT_EQ(mac, macBefore) << command;
    }
    EXPECT_EQ(module.ReadRequests(), 0);
    EXPECT_EQ(module.WriteRequests(), 0);
}

// What README tells a user to do: type the simulated module's device path into the port box
// and click Read.
TEST_F(ModuleSession, ReadThroughATypedDevicePath) {
    std::vector<SeenModal> boxes;
    std::string typed;
    std::string status;
    Run([&] {
        Type(IDC_COM_PORT, QString::fromStdString(module.PortPath()));
        typed = Shown(IDC_COM_PORT);
        boxes = Command(IDC_READ);
        status = Shown(IDC_STATUS);
        Quit();
    });
    EXPECT_EQ(typed, module.PortPath());
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(status, kReadSucceeded);
    EXPECT_EQ(module.ReadRequests(), 1);
}
