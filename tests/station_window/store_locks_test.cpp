// The station window keeps its hold on the SQLite store while an operator browses the
// database's folder in its file dialogs and the command line uses the same store: its locks
// stay, the write-ahead log stays, and nothing either side writes is lost.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <set>

#include "station_rig.h"
#include "tests/cli/child_process.h"
#include "tests/store/proc_locks.h"
#include "ui/station/setup_strip.h"
#include "ui/station/slot_tile.h"

namespace {

constexpr int kWaitMs = 10000;

QPushButton* ButtonLabelled(QWidget& window, const QString& text) {
    for (QPushButton* button : window.findChildren<QPushButton*>()) {
        if (button->text() == text) {
            return button;
        }
    }
    return nullptr;
}

// Clicks `button`, which opens a file dialog; once the dialog has gathered its folder (every
// entry looked at, as a person browsing it sees them), cancels it. The folder it showed.
QString BrowseWith(QPushButton* button) {
    QString loaded;
    QTimer::singleShot(0, [&loaded] {
        QFileDialog* dialog = nullptr;
        (void)QTest::qWaitFor(
            [&dialog] {
                dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                return dialog != nullptr;
            },
            kWaitMs);
        auto* model = dialog != nullptr ? dialog->findChild<QFileSystemModel*>() : nullptr;
        if (model == nullptr) {
            return;
        }
        const QString folder = dialog->directory().absolutePath();
        QObject::connect(model, &QFileSystemModel::directoryLoaded,
                         [&loaded, folder](const QString& path) {
                             if (path == folder) {
                                 loaded = path;
                             }
                         });
        (void)QTest::qWaitFor([&loaded] { return !loaded.isEmpty(); }, kWaitMs);
        dialog->reject();
    });
    button->click();
    return loaded;
}

void OpenAndClose(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0) << path;
    ::close(fd);
}

bool Ended(SlotTile* tile) {
    return tile != nullptr && tile->State() == SlotState::Done;
}

TEST(StationStoreLocks, HoldWhileTheDialogsBrowseTheDatabaseFolderAndTheCommandLineUsesIt) {
    StationRig rig(100);
    const std::string db = rig.DatabasePath();
    const QString config = rig.Folder() + QStringLiteral("/line.cfg");
    ASSERT_TRUE(QFile::copy(QStringLiteral(LVCFG_TEST_DATA_DIR "/read_module.cfg"), config));
    ASSERT_TRUE(rig.Window().Strip().LoadConfig(config));  // the Open dialog starts beside it
    for (int i = 0; i < 3; ++i) {
        rig.AddModule();
    }
    const int locks = LocksOn(db) + LocksOn(db + "-shm");
    ASSERT_GT(locks, 0);
    // The configuration is chosen while the station stands still; records are exported while
    // it runs.
    EXPECT_EQ(BrowseWith(ButtonLabelled(rig.Window(), QStringLiteral("&Open .cfg..."))),
              rig.Folder());
    EXPECT_EQ(LocksOn(db) + LocksOn(db + "-shm"), locks);
    ButtonLabelled(rig.Window(), QStringLiteral("Start (F5)"))->click();
    ASSERT_TRUE(rig.Controller().Running()) << rig.Window().Strip().Message().toStdString();
    rig.Plug(0);
    ASSERT_TRUE(rig.WaitUntil([&] { return Ended(rig.Tile(0)); }));
    const QString before = QDir::currentPath();
    QDir::setCurrent(rig.Folder());  // the Export dialog starts in the working folder
    EXPECT_EQ(BrowseWith(ButtonLabelled(rig.Window(), QStringLiteral("&Export CSV..."))),
              rig.Folder());
    QDir::setCurrent(before);
    for (const std::string& file : {db, db + "-wal", db + "-shm"}) {
        OpenAndClose(file);
    }
    EXPECT_EQ(LocksOn(db) + LocksOn(db + "-shm"), locks);

    // The command line comes and goes on the same store; it must see the window's hold.
    const std::string url = "sqlite:" + db;
    EXPECT_EQ(RunProgram(LVCFG_CLI_PATH, {"pool", "status", "--station-db", url}).exitStatus, 0);
    const ProgramRun batch =
        RunProgram(LVCFG_CLI_PATH, {"batch", "--config", config.toStdString(), "--ports",
                                    rig.Device(1), "--station-db", url, "--station", "cli"});
    EXPECT_EQ(batch.exitStatus, 0) << batch.err;
    EXPECT_TRUE(std::filesystem::exists(db + "-wal"));

    // The window goes on writing, and both sides' work is there.
    rig.Plug(2);
    ASSERT_TRUE(rig.WaitUntil([&] { return Ended(rig.Tile(2)); }));
    std::set<std::uint64_t> macs;
    for (std::size_t i = 0; i < 3; ++i) {
        macs.insert(MacToNumber(MacOfFrame(rig.Module(i).StoredFrame())));
    }
    EXPECT_EQ(macs.size(), 3u);
    ButtonLabelled(rig.Window(), QStringLiteral("Stop (Shift+F5)"))->click();
    ASSERT_TRUE(rig.WaitUntil([&] { return !rig.Controller().Finishing(); }));
    const std::unique_ptr<StationStore> store = rig.OpenStore();
    EXPECT_EQ(store->Records(std::nullopt).value.size(), 3u);
    EXPECT_EQ(store->Status().value.used, 3u);
}

}  // namespace
