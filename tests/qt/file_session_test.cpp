// Open and Save in the real window: the file chooser, the overwrite question and the reports,
// answered as a user answers them.

#include <gtest/gtest.h>

#include <QFileDialog>
#include <QMessageBox>
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "files/cfg_scramble.h"
#include "main_window_session.h"
#include "modal_answerer.h"
#include "model/config_frame.h"
#include "model/control_ids.h"
#include "tests/files/temp_folder.h"
#include "tests/support/report_texts.h"
#include "tools/module_sim/module_identity.h"

namespace {

using namespace report_text;

constexpr const char* kModuleMac = "4C 56 AB CD EF 01";

std::vector<std::uint8_t> Unscrambled(std::vector<std::uint8_t> bytes) {
    for (std::uint8_t& byte : bytes) {
        byte ^= CFG_FILE_MASK;
    }
    return bytes;
}

// A file as Save writes it for a module's frame: the sealed frame, scrambled.
void WriteModuleFile(const std::string& path) {
    ModuleIdentity identity;
    identity.mac = {0x4C, 0x56, 0xAB, 0xCD, 0xEF, 0x01};
    ConfigFrame frame = MakeModuleFrame(identity);
    SealFrame(frame);
    WriteBytes(path, Unscrambled(std::vector<std::uint8_t>(frame.begin(), frame.end())));
}

class FileSession : public MainWindowSession {
  protected:
    QString PathOf(const std::string& name) const {
        return QString::fromStdString(folder.File(name));
    }

    // Clicks `command` and answers what opens with `script`'s answers.
    std::vector<SeenModal> Command(int command, ModalScript& script) {
        Click(command);
        EXPECT_EQ(script.Unused(), 0U);
        EXPECT_EQ(script.Stuck(), 0);
        return script.Seen();
    }

    // A Save into a new file of the folder, answered with its name.
    void SaveAs(const std::string& name) {
        ModalScript answers(&Dialog());
        answers.Then(ChooseFile(PathOf(name)));
        const std::vector<SeenModal> seen = Command(IDC_SAVE, answers);
        EXPECT_EQ(seen.size(), 1U);
    }

    TempFolder folder;
};

}  // namespace

TEST_F(FileSession, SaveWritesTheScrambledSealedFrameThroughTheSaveChooser) {
    std::vector<SeenModal> seen;
    std::string status;
    Run([&] {
        ModalScript answers(&Dialog());
        answers.Then(ChooseFile(PathOf("first.cfg")));
        seen = Command(IDC_SAVE, answers);
        status = Shown(IDC_STATUS);
        Quit();
    });
    ASSERT_EQ(seen.size(), 1U);
    EXPECT_EQ(seen[0].kind, "QFileDialog");
    EXPECT_EQ(seen[0].acceptMode, QFileDialog::AcceptSave);
    EXPECT_EQ(seen[0].offeredName, "*.cfg");
    EXPECT_TRUE(seen[0].nameFilter.startsWith("Configuration files(*.cfg)"))
        << seen[0].nameFilter.toStdString();
    EXPECT_EQ(status, kFileWritten);

    const std::vector<std::uint8_t> bytes = ReadBytes(folder.File("first.cfg"));
    ASSERT_EQ(bytes.size(), kFrameSize);
    const std::vector<std::uint8_t> plain = Unscrambled(bytes);
    ConfigFrame frame{};
    std::copy(plain.begin(), plain.end(), frame.begin());
    const std::vector<std::uint8_t> command(frame.begin(), frame.begin() + 4);
    EXPECT_EQ(command, std::vector<std::uint8_t>({'A', 'T', 'W', '0'}));
    const std::uint16_t crc = Crc16Cms(frame.data() + FrameOffset::kBlock, kBlockSize);
    EXPECT_EQ(frame[FrameOffset::kCrc], crc & 0xFF);
    EXPECT_EQ(frame[FrameOffset::kCrc + 1], crc >> 8);
}

TEST_F(FileSession, SavingOntoAnExistingFileAsksBeforeReplacingIt) {
    std::vector<SeenModal> seen;
    std::string status;
    Run([&] {
        SaveAs("same.cfg");
        Type(IDC_NETWORK_ID, "77");
        ModalScript second(&Dialog());
        second.Then(ChooseFile(PathOf("same.cfg"))).Then(ClickInBox(QMessageBox::Yes));
        seen = Command(IDC_SAVE, second);
        status = Shown(IDC_STATUS);
        Quit();
    });
    ASSERT_EQ(seen.size(), 2U);
    EXPECT_EQ(seen[0].kind, "QFileDialog");
    EXPECT_EQ(seen[1].kind, "QMessageBox");
    EXPECT_TRUE(seen[1].text.contains("same.cfg")) << seen[1].text.toStdString();
    EXPECT_EQ(status, kFileWritten);
    const std::vector<std::uint8_t> plain = Unscrambled(ReadBytes(folder.File("same.cfg")));
    ASSERT_EQ(plain.size(), kFrameSize);
    EXPECT_EQ(plain[FrameOffset::kNetworkIdLow], 77);
    EXPECT_EQ(folder.Entries(), std::set<std::string>{"same.cfg"});
}

TEST_F(FileSession, NoToTheOverwriteQuestionKeepsTheOldFileAndTheChooserOpen) {
    std::vector<SeenModal> seen;
    std::vector<std::uint8_t> before;
    Run([&] {
        SaveAs("old.cfg");
        before = ReadBytes(folder.File("old.cfg"));
        Type(IDC_NETWORK_ID, "77");
        ModalScript answers(&Dialog());
        answers.Then(ChooseFile(PathOf("old.cfg")))
            .Then(ClickInBox(QMessageBox::No))
            .Then(CancelChooser());
        seen = Command(IDC_SAVE, answers);
        Quit();
    });
    ASSERT_EQ(seen.size(), 3U);
    EXPECT_EQ(seen[1].kind, "QMessageBox");
    EXPECT_EQ(seen[2].kind, "QFileDialog");
    EXPECT_EQ(before.size(), kFrameSize);
    EXPECT_EQ(ReadBytes(folder.File("old.cfg")), before);
    EXPECT_EQ(folder.Entries(), std::set<std::string>{"old.cfg"});
}

TEST_F(FileSession, CancelInEitherChooserChangesNothingAndReportsNothing) {
    std::vector<SeenModal> savingSeen;
    std::vector<SeenModal> openingSeen;
    std::string before;
    std::string afterSave;
    std::string afterOpen;
    std::string macBefore;
    std::string macAfter;
    Run([&] {
        SaveAs("kept.cfg");
        before = Shown(IDC_STATUS);
        Type(IDC_MAC, kModuleMac);
        macBefore = Shown(IDC_MAC);

        {
            ModalScript saving(&Dialog());
            saving.Then(CancelChooser());
            savingSeen = Command(IDC_SAVE, saving);
        }
        afterSave = Shown(IDC_STATUS);
        {
            ModalScript opening(&Dialog());
            opening.Then(CancelChooser());
            openingSeen = Command(IDC_OPEN, opening);
        }
        afterOpen = Shown(IDC_STATUS);
        macAfter = Shown(IDC_MAC);
        Quit();
    });
    ASSERT_EQ(savingSeen.size(), 1U);
    EXPECT_EQ(savingSeen[0].acceptMode, QFileDialog::AcceptSave);
    ASSERT_EQ(openingSeen.size(), 1U);
    EXPECT_EQ(openingSeen[0].acceptMode, QFileDialog::AcceptOpen);
    EXPECT_EQ(openingSeen[0].offeredName, "*.cfg");
    EXPECT_EQ(before, kFileWritten);
    EXPECT_EQ(afterSave, kFileWritten);
    EXPECT_EQ(afterOpen, kFileWritten);
    EXPECT_EQ(macAfter, macBefore);
    // The file of the first Save is untouched: the cancelled Save left the default MAC in it.
    EXPECT_EQ(folder.Entries(), std::set<std::string>{"kept.cfg"});
    const std::vector<std::uint8_t> plain = Unscrambled(ReadBytes(folder.File("kept.cfg")));
    ASSERT_EQ(plain.size(), kFrameSize);
    EXPECT_NE(plain[FrameOffset::kMac + 2], 0xAB);
}

TEST_F(FileSession, OpenShowsTheSettingsOfAModuleFile) {
    WriteModuleFile(folder.File("module.cfg"));
    std::vector<SeenModal> seen;
    std::string status;
    std::string mac;
    Run([&] {
        Type(IDC_MAC, "00 00 00 00 00 00");
        ModalScript answers(&Dialog());
        answers.Then(ChooseFile(PathOf("module.cfg")));
        seen = Command(IDC_OPEN, answers);
        status = Shown(IDC_STATUS);
        mac = Shown(IDC_MAC);
        Quit();
    });
    ASSERT_EQ(seen.size(), 1U);
    EXPECT_EQ(seen[0].acceptMode, QFileDialog::AcceptOpen);
    EXPECT_EQ(status, kFileRead);
    EXPECT_EQ(mac, kModuleMac);
}

TEST_F(FileSession, OpeningANameThatDoesNotExistShowsTheErrorBox) {
    std::vector<SeenModal> seen;
    std::string status;
    Run([&] {
        ModalScript answers(&Dialog());
        answers.Then(ChooseFile(PathOf("missing.cfg"))).Then(ClickInBox(QMessageBox::Ok));
        seen = Command(IDC_OPEN, answers);
        status = Shown(IDC_STATUS);
        Quit();
    });
    ASSERT_EQ(seen.size(), 2U);
    EXPECT_EQ(seen[1].kind, "QMessageBox");
    EXPECT_EQ(seen[1].text, kFileOpenFailed);
    EXPECT_EQ(seen[1].caption, kCaption);
    EXPECT_EQ(seen[1].icon, QMessageBox::Critical);
    EXPECT_EQ(status, kFileOpenFailed);
    EXPECT_TRUE(folder.Entries().empty());
}

// The window's own frame carries its default module name until a module has been read, where a
// module's name begins with the magic; a file saved before that opens all the same and shows the
// settings it was saved with.
TEST_F(FileSession, AFileSavedWithoutAModuleIdentityOpensAgain) {
    std::vector<SeenModal> seen;
    std::string status;
    std::string savedMac;
    std::string mac;
    Run([&] {
        savedMac = Shown(IDC_MAC);
        SaveAs("plain.cfg");
        Type(IDC_MAC, kModuleMac);
        ModalScript opening(&Dialog());
        opening.Then(ChooseFile(PathOf("plain.cfg")));
        seen = Command(IDC_OPEN, opening);
        status = Shown(IDC_STATUS);
        mac = Shown(IDC_MAC);
        Quit();
    });
    ASSERT_EQ(seen.size(), 1U);
    EXPECT_EQ(seen[0].kind, "QFileDialog");
    EXPECT_EQ(status, kFileRead);
    EXPECT_EQ(mac, savedMac);
    EXPECT_NE(mac, kModuleMac);
}

// A name typed without an extension is saved as a .cfg file, which the configuration filter
// then shows.
TEST_F(FileSession, ANameTypedWithoutExtensionIsSavedWithTheCfgExtension) {
    std::string status;
    Run([&] {
        SaveAs("station1");
        status = Shown(IDC_STATUS);
        Quit();
    });
    EXPECT_EQ(status, kFileWritten);
    EXPECT_EQ(folder.Entries(), std::set<std::string>{"station1.cfg"});
}
