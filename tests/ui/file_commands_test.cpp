// Open and Save as a user drives them: the chooser answered, the buttons clicked, the boxes
// read. Files live in a scratch folder; faults of the disk are injected below the file layer.

#include <gtest/gtest.h>

#include <ostream>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "files/cfg_scramble.h"
#include "model/config_frame.h"
#include "model/control_ids.h"
#include "tests/files/faulty_file_io.h"
#include "tests/files/temp_folder.h"
#include "tests/support/headless_backend.h"
#include "tests/support/report_texts.h"
#include "ui/lvcfg_dlg.h"

namespace {

using namespace report_text;

// Bytes 4-37 of a module's own frame: the name beginning with the magic, node type, 10 dBm
// class, 433 MHz band, 26 MHz crystal, version 1.6.
std::array<std::uint8_t, 34> ModuleIdentity() {
    std::array<std::uint8_t, 34> identity{};
    const char name[] = "Lumivaro KTR5520Q";
    std::memcpy(identity.data(), name, sizeof name - 1);
    identity[28 - 4] = 'N';
    identity[29 - 4] = '0';
    identity[30 - 4] = '1';
    identity[31 - 4] = '3';
    identity[32 - 4] = '3';
    identity[33 - 4] = '0';
    identity[34 - 4] = '6';
    identity[35 - 4] = '0';
    identity[36 - 4] = 6;
    identity[37 - 4] = 1;
    return identity;
}

// What the window shows, control by control; the status line is left out.
struct ControlState {
    std::string text;
    int check;
    int selection;
    bool operator==(const ControlState&) const = default;
};
using WindowState = std::map<int, ControlState>;

class FileCommandsTest : public testing::Test {
  protected:
    FileCommandsTest() {
        services.fileIo = &io;
        dialog = std::make_unique<CLVCfgDlg>(backend, services);
        dialog->Create();
        window = dynamic_cast<HeadlessWindow*>(dialog->Window());
        backend.ClearMessageBoxes();
    }

    void SetUp() override { ASSERT_NE(window, nullptr); }

    // The working frame as a Read of a module would leave it: the module's identity at 4-37.
    void GiveModuleIdentity() {
        const auto identity = ModuleIdentity();
        std::copy(identity.begin(), identity.end(), dialog->m_workFrame.begin() + 4);
    }

    void Save(std::optional<std::string> path) {
        backend.AnswerNextFileChooser(std::move(path));
        ASSERT_TRUE(window->Click(IDC_SAVE));
    }
    void Open(std::optional<std::string> path) {
        backend.AnswerNextFileChooser(std::move(path));
        ASSERT_TRUE(window->Click(IDC_OPEN));
    }

    [[nodiscard]] std::string Status() const { return window->GetText(IDC_STATUS); }

    [[nodiscard]] WindowState Shown() const {
        WindowState state;
        for (int id : window->ControlIds()) {
            if (id != IDC_STATUS) {
                state[id] = {window->GetText(id), window->GetCheck(id), window->GetCurSel(id)};
            }
        }
        return state;
    }

    // The one box expected: an error box with the text of the failure report.
    void ExpectFailureReport(const char* text) {
        EXPECT_EQ(Status(), text);
        ASSERT_EQ(backend.MessageBoxes().size(), 1u);
        EXPECT_EQ(backend.MessageBoxes()[0].text, text);
        EXPECT_EQ(backend.MessageBoxes()[0].caption, kCaption);
        EXPECT_EQ(backend.MessageBoxes()[0].type, MB_ICONERROR);
    }

    TempFolder folder;
    FaultyFileIo io;
    HeadlessBackend backend;
    LVCfgDlgServices services;
    std::unique_ptr<CLVCfgDlg> dialog;
    HeadlessWindow* window = nullptr;
};

TEST_F(FileCommandsTest, ChoosersAskForConfigurationFiles) {
    Save(std::nullopt);
    Open(std::nullopt);
    ASSERT_EQ(backend.FileChooserRequests().size(), 2u);
    for (const FileChooserRequest& request : backend.FileChooserRequests()) {
        EXPECT_EQ(request.defaultExtension, "");
        EXPECT_EQ(request.initialName, "*.cfg");
        ASSERT_EQ(request.filters.size(), 2u);
        EXPECT_EQ(request.filters[0].description, "Configuration files(*.cfg)");
        EXPECT_EQ(request.filters[0].pattern, "*.cfg");
        EXPECT_EQ(request.filters[1].description, "All files(*.*)");
        EXPECT_EQ(request.filters[1].pattern, "*.*");
    }
    EXPECT_TRUE(backend.FileChooserRequests()[0].save);
    EXPECT_FALSE(backend.FileChooserRequests()[1].save);
}

// Cancel and an empty name, in either chooser: no report, nothing written, nothing changed.
class FileCommandsNoChoice : public FileCommandsTest,
                             public testing::WithParamInterface<std::optional<std::string>> {};

TEST_P(FileCommandsNoChoice, ChangesNothing) {
    window->Type(IDC_START_FREQ, "500");
    const WindowState before = Shown();
    const ConfigFrame workBefore = dialog->m_workFrame;
    const ConfigFrame moduleBefore = dialog->m_moduleFrame;
    Save(GetParam());
    Open(GetParam());
    EXPECT_TRUE(backend.MessageBoxes().empty());
    EXPECT_EQ(Status(), "");
    EXPECT_EQ(Shown(), before);
    EXPECT_EQ(dialog->m_workFrame, workBefore);
    EXPECT_EQ(dialog->m_moduleFrame, moduleBefore);
    EXPECT_TRUE(folder.Entries().empty());
}

INSTANTIATE_TEST_SUITE_P(Choosers, FileCommandsNoChoice,
                         testing::Values(std::nullopt, std::optional<std::string>("")),
                         [](const testing::TestParamInfo<std::optional<std::string>>& info) {
                             return info.param ? "EmptyName" : "Cancelled";
                         });

TEST_F(FileCommandsTest, SaveWritesTheScrambledSealedWorkingFrame) {
    GiveModuleIdentity();
    const std::string path = folder.File("batch.cfg");
    Save(path);
    EXPECT_EQ(Status(), kFileWritten);
    EXPECT_TRUE(backend.MessageBoxes().empty());

    const ConfigFrame& work = dialog->m_workFrame;
    EXPECT_TRUE(std::equal(kWriteCommand.begin(), kWriteCommand.end(), work.begin()))
        << "the working frame is left sealed and plain";
    EXPECT_EQ(CheckFrameContent(work), FrameCheck::Accepted);
    std::vector<std::uint8_t> stored = ReadBytes(path);
    ASSERT_EQ(stored.size(), kFrameSize);
    ScrambleCfgBytes(stored);
    EXPECT_TRUE(std::equal(stored.begin(), stored.end(), work.begin()));
    EXPECT_EQ(folder.Entries(), std::set<std::string>{"batch.cfg"});
}

TEST_F(FileCommandsTest, WorkingFrameStaysPlainWhileTheFileIsWritten) {
    GiveModuleIdentity();
    std::vector<ConfigFrame> duringWrites;
    io.beforeWrite = [&] { duringWrites.push_back(dialog->m_workFrame); };
    Save(folder.File("a.cfg"));
    EXPECT_EQ(Status(), kFileWritten);
    ASSERT_FALSE(duringWrites.empty());
    for (const ConfigFrame& work : duringWrites) {
        EXPECT_EQ(work, dialog->m_workFrame);
        EXPECT_EQ(CheckFrameContent(work), FrameCheck::Accepted);
    }
}

TEST_F(FileCommandsTest, SaveThenOpenShowsTheSettingsAsEncoded) {
    GiveModuleIdentity();
    window->Type(IDC_MAIN_CHANNEL, "7");
    window->Type(IDC_START_FREQ, "500");  // past the band: adjusted while the file is built
    std::string statusDuringWarning;
    backend.WhileNextBoxOpen([&](const MessageBoxRecord&) { statusDuringWarning = Status(); });
    Save(folder.File("a.cfg"));
    ASSERT_EQ(backend.MessageBoxes().size(), 1u);
    EXPECT_EQ(backend.MessageBoxes()[0].type, MB_ICONEXCLAMATION);
    EXPECT_EQ(statusDuringWarning, kFileOpened) << "the open is reported before the encode";
    EXPECT_EQ(Status(), kFileWritten);

    // What the saved frame stands for, as the window shows a decoded frame.
    const ConfigFrame work = dialog->m_workFrame;
    dialog->DecodeFrame(work);
    const WindowState encoded = Shown();
    window->Type(IDC_MAIN_CHANNEL, "99");
    window->Type(IDC_START_FREQ, "433");
    backend.ClearMessageBoxes();

    Open(folder.File("a.cfg"));
    EXPECT_EQ(Status(), kFileRead);
    EXPECT_TRUE(backend.MessageBoxes().empty());
    EXPECT_EQ(Shown(), encoded);
    EXPECT_EQ(window->GetText(IDC_MAIN_CHANNEL), "7");
    EXPECT_EQ(window->GetText(IDC_START_FREQ), "479.999847412109");
    EXPECT_EQ(dialog->m_workFrame, work) << "Open never touches the working frame";
}

// Such a file holds the default module name where the magic would be; it opens all the same.
TEST_F(FileCommandsTest, FileSavedBeforeAnyModuleWasReadOpensAgain) {
    const std::string path = folder.File("default.cfg");
    window->Type(IDC_MAIN_CHANNEL, "7");
    Save(path);
    EXPECT_EQ(Status(), kFileWritten);
    const ConfigFrame work = dialog->m_workFrame;
    dialog->DecodeFrame(work);
    const WindowState encoded = Shown();
    window->Type(IDC_MAIN_CHANNEL, "99");
    Open(path);
    EXPECT_EQ(Status(), kFileRead);
    EXPECT_TRUE(backend.MessageBoxes().empty());
    EXPECT_EQ(Shown(), encoded);
    EXPECT_EQ(window->GetText(IDC_MAIN_CHANNEL), "7");
}

// Damage to such a file is still found: the CRC is checked as for any other file.
TEST_F(FileCommandsTest, DamagedFileSavedBeforeAnyModuleWasReadIsRefused) {
    const std::string path = folder.File("default.cfg");
    Save(path);
    std::vector<std::uint8_t> file = ReadBytes(path);
    file[54] ^= 0x01;
    WriteBytes(path, file);
    const WindowState before = Shown();
    Open(path);
    ExpectFailureReport(kCrcMismatch);
    EXPECT_EQ(Shown(), before);
}

TEST_F(FileCommandsTest, SaveOntoAnExistingFileReplacesIt) {
    GiveModuleIdentity();
    const std::string path = folder.File("a.cfg");
    window->Type(IDC_MAIN_CHANNEL, "3");
    Save(path);
    window->Type(IDC_MAIN_CHANNEL, "5");
    Save(path);
    EXPECT_EQ(Status(), kFileWritten);
    window->Type(IDC_MAIN_CHANNEL, "9");
    Open(path);
    EXPECT_EQ(window->GetText(IDC_MAIN_CHANNEL), "5");
    EXPECT_EQ(folder.Entries(), std::set<std::string>{"a.cfg"});
}

// The mend: a write that fails part-way leaves the previous file as it was.
TEST_F(FileCommandsTest, FailedWriteKeepsThePreviousFile) {
    GiveModuleIdentity();
    const std::string path = folder.File("a.cfg");
    window->Type(IDC_MAIN_CHANNEL, "3");
    Save(path);
    const std::vector<std::uint8_t> previous = ReadBytes(path);
    ASSERT_EQ(previous.size(), kFrameSize);

    window->Type(IDC_MAIN_CHANNEL, "5");
    io.writeBudget = 100;  // the disk fills up after 100 bytes
    std::string statusDuringBox;
    backend.WhileNextBoxOpen([&](const MessageBoxRecord&) { statusDuringBox = Status(); });
    Save(path);
    ExpectFailureReport(kFileWriteFailed);
    EXPECT_EQ(statusDuringBox, kFileWriteFailed) << "the status line is set before the box opens";
    EXPECT_EQ(ReadBytes(path), previous);
    EXPECT_EQ(folder.Entries(), std::set<std::string>{"a.cfg"});
    EXPECT_TRUE(
        std::equal(kWriteCommand.begin(), kWriteCommand.end(), dialog->m_workFrame.begin()));
    EXPECT_EQ(CheckFrameContent(dialog->m_workFrame), FrameCheck::Accepted)
        << "the working frame is sealed and plain after a failed write";

    io.writeBudget.reset();
    backend.ClearMessageBoxes();
    window->Type(IDC_MAIN_CHANNEL, "9");
    Open(path);
    EXPECT_EQ(window->GetText(IDC_MAIN_CHANNEL), "3");
}

TEST_F(FileCommandsTest, SaveThroughADanglingLinkCreatesItsTargetAndKeepsTheLink) {
    GiveModuleIdentity();
    std::filesystem::create_symlink("target.cfg", folder.File("link.cfg"));
    window->Type(IDC_MAIN_CHANNEL, "3");
    Save(folder.File("link.cfg"));
    EXPECT_EQ(Status(), kFileWritten);
    EXPECT_TRUE(std::filesystem::is_symlink(folder.File("link.cfg")));
    EXPECT_EQ(ReadBytes(folder.File("target.cfg")).size(), kFrameSize);

    window->Type(IDC_MAIN_CHANNEL, "9");
    Open(folder.File("link.cfg"));
    EXPECT_EQ(window->GetText(IDC_MAIN_CHANNEL), "3");
}

// A folder we may not write, holding a file we may: the file is written in place.
TEST_F(FileCommandsTest, SaveIntoAFolderThatTakesNoNewFileWritesTheFileItself) {
    GiveModuleIdentity();
    const std::string path = folder.File("a.cfg");
    WriteBytes(path, std::vector<std::uint8_t>(kFrameSize, 0));
    io.refuseNewFiles = EACCES;
    window->Type(IDC_MAIN_CHANNEL, "5");
    Save(path);
    EXPECT_EQ(Status(), kFileWritten);
    EXPECT_TRUE(backend.MessageBoxes().empty());

    window->Type(IDC_MAIN_CHANNEL, "9");
    Open(path);
    EXPECT_EQ(window->GetText(IDC_MAIN_CHANNEL), "5");
    EXPECT_EQ(folder.Entries(), std::set<std::string>{"a.cfg"});
}

TEST_F(FileCommandsTest, SaveIntoADirectoryFailsBeforeEncoding) {
    GiveModuleIdentity();
    const std::string directory = folder.File("chosen.cfg");
    std::filesystem::create_directory(directory);
    window->Type(IDC_START_FREQ, "500");  // would warn if anything were encoded
    const ConfigFrame workBefore = dialog->m_workFrame;
    Save(directory);
    ExpectFailureReport(kFileOpenFailed);
    EXPECT_EQ(dialog->m_workFrame, workBefore);
    EXPECT_TRUE(std::filesystem::is_directory(directory));
    EXPECT_EQ(folder.Entries(), std::set<std::string>{"chosen.cfg"});
}

TEST_F(FileCommandsTest, OpenOfADirectoryFails) {
    const std::string directory = folder.File("chosen.cfg");
    std::filesystem::create_directory(directory);
    const WindowState before = Shown();
    Open(directory);
    ExpectFailureReport(kFileOpenFailed);
    EXPECT_EQ(Shown(), before);
}

TEST_F(FileCommandsTest, OpenOfANameThatDoesNotExistFails) {
    const WindowState before = Shown();
    Open(folder.File("absent.cfg"));
    ExpectFailureReport(kFileOpenFailed);
    EXPECT_EQ(Shown(), before);
}

// Files made from a good one, opened after the window was changed: each row either shows the
// file's settings or refuses with its message and leaves window and working frame alone.
struct OpenCase {
    const char* name;
    void (*alter)(std::vector<std::uint8_t>& file);
    const char* failure;  // nullptr: accepted
};

// Rows are named in test output by their name alone.
void PrintTo(const OpenCase& row, std::ostream* out) {
    *out << row.name;
}

class FileCommandsOpen : public FileCommandsTest, public testing::WithParamInterface<OpenCase> {};

TEST_P(FileCommandsOpen, ChecksTheFileInOrder) {
    GiveModuleIdentity();
    window->Type(IDC_MAIN_CHANNEL, "7");
    Save(folder.File("good.cfg"));
    ASSERT_EQ(Status(), kFileWritten);
    std::vector<std::uint8_t> file = ReadBytes(folder.File("good.cfg"));
    GetParam().alter(file);
    WriteBytes(folder.File("row.cfg"), file);

    window->Type(IDC_MAIN_CHANNEL, "99");
    const WindowState before = Shown();
    const ConfigFrame workBefore = dialog->m_workFrame;
    backend.ClearMessageBoxes();
    Open(folder.File("row.cfg"));

    if (GetParam().failure != nullptr) {
        ExpectFailureReport(GetParam().failure);
        EXPECT_EQ(Shown(), before);
    } else {
        EXPECT_EQ(Status(), kFileRead);
        EXPECT_TRUE(backend.MessageBoxes().empty());
        EXPECT_EQ(window->GetText(IDC_MAIN_CHANNEL), "7");
    }
    EXPECT_EQ(dialog->m_workFrame, workBefore);
}

void Flip(std::vector<std::uint8_t>& file, std::size_t offset) {
    file[offset] ^= 0x01;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FileCommandsOpen,
    testing::Values(
        OpenCase{"Exact", [](std::vector<std::uint8_t>&) {}, nullptr},
        OpenCase{"LongerFileFirst518Bytes",
                 [](std::vector<std::uint8_t>& f) { f.resize(600, 0xAA); }, nullptr},
        OpenCase{"AnythingInTheCommandBytes",
                 [](std::vector<std::uint8_t>& f) { std::fill_n(f.begin(), 4, 0x00); }, nullptr},
        OpenCase{"OneByteShort", [](std::vector<std::uint8_t>& f) { f.resize(517); },
                 kLengthMismatch},
        OpenCase{"EmptyFile", [](std::vector<std::uint8_t>& f) { f.clear(); }, kLengthMismatch},
        OpenCase{"UnscrambledFile", [](std::vector<std::uint8_t>& f) { ScrambleCfgBytes(f); },
                 kMagicMismatch},
        OpenCase{"WrongMagic", [](std::vector<std::uint8_t>& f) { Flip(f, 4); }, kMagicMismatch},
        OpenCase{"WrongMagicAndShort",
                 [](std::vector<std::uint8_t>& f) {
                     Flip(f, 4);
                     f.resize(400);
                 },
                 kLengthMismatch},
        OpenCase{"ChangedSetting", [](std::vector<std::uint8_t>& f) { Flip(f, 54); }, kCrcMismatch},
        OpenCase{"ChangedUninterpretedByte", [](std::vector<std::uint8_t>& f) { Flip(f, 515); },
                 kCrcMismatch},
        OpenCase{"ChangedStoredCrc", [](std::vector<std::uint8_t>& f) { Flip(f, 517); },
                 kCrcMismatch}),
    [](const testing::TestParamInfo<OpenCase>& info) { return info.param.name; });

}  // namespace
