#include "station_rig.h"

#include <unistd.h>

#include <gtest/gtest.h>
#include <QTest>

#include "store/open_station_store.h"
#include "ui/station/setup_strip.h"
#include "ui/station/slot_grid.h"

namespace {

// Long enough for a loaded machine to program eight modules; the wait ends as soon as the
// condition holds.
constexpr int kDeadlineMs = 30000;

std::string DatabaseOf(const QTemporaryDir& folder) {
    return folder.filePath(QStringLiteral("station.sqlite")).toStdString();
}

std::string StoreUrl(const QTemporaryDir& folder) {
    return "sqlite:" + DatabaseOf(folder);
}

}  // namespace

bool WaitForCondition(const std::function<bool()>& done) {
    return QTest::qWaitFor(done, kDeadlineMs);
}

std::uint64_t StationRig::PoolStart() {
    static const std::uint64_t start = 0x4C5620000000 + (::getpid() & 0xFFFF) * 0x1000;
    return start;
}

StationRig::StationRig(std::uint64_t poolSize) {
    StoreResult<std::unique_ptr<StationStore>> store = OpenStationStore(StoreUrl(m_folder));
    EXPECT_TRUE(store.Ok()) << store.message;
    if (poolSize > 0) {
        EXPECT_TRUE(store.value->AddRange(PoolStart(), poolSize).Ok());
    }
    auto arrivals = std::make_unique<InjectedDeviceSource>();
    m_arrivals = arrivals.get();
    // An inventory over an empty tree: the pseudo-terminals have no by-path names.
    const std::string empty = m_folder.path().toStdString();
    m_controller = std::make_unique<StationController>(std::move(arrivals), std::move(store.value),
                                                       PortInventory(empty, empty));
    m_window = std::make_unique<StationWindow>(*m_controller);
    EXPECT_TRUE(
        m_window->Strip().LoadConfig(QStringLiteral(LVCFG_TEST_DATA_DIR "/read_module.cfg")));
    m_window->Strip().SetStationName(QStringLiteral("line-1"));
    m_window->resize(1280, 860);
    m_window->show();
    // Shortcuts reach the active window only, as on a desktop.
    m_window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
}

StationRig::~StationRig() {
    m_window.reset();
    m_controller.reset();  // waits for the modules being programmed
    m_modules.clear();
}

SimulatedModule& StationRig::AddModule() {
    SimulatedModuleOptions options;
    options.identity.mac = MacPlus(options.identity.mac, static_cast<unsigned>(m_modules.size()));
    auto& module = m_modules.emplace_back(std::make_unique<SimulatedModule>(options));
    EXPECT_TRUE(module->Start());
    return *module;
}

void StationRig::Plug(std::size_t index) {
    ASSERT_TRUE(m_arrivals->Inject(
        UsbSerialReport("add", "ttyUSB" + std::to_string(index), Device(index))));
}

void StationRig::Unplug(std::size_t index) {
    ASSERT_TRUE(m_arrivals->Inject(
        UsbSerialReport("remove", "ttyUSB" + std::to_string(index), Device(index))));
}

std::string StationRig::Device(std::size_t index) const {
    return m_modules.at(index)->PortPath();
}

SlotTile* StationRig::Tile(std::size_t index) const {
    return m_window->Slots().Tile(QString::fromStdString(Device(index)));
}

std::unique_ptr<StationStore> StationRig::OpenStore() const {
    StoreResult<std::unique_ptr<StationStore>> store = OpenStationStore(StoreUrl(m_folder));
    EXPECT_TRUE(store.Ok()) << store.message;
    return std::move(store.value);
}

std::string StationRig::DatabasePath() const {
    return DatabaseOf(m_folder);
}
