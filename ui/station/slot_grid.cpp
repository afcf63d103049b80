#include "ui/station/slot_grid.h"

#include <QGridLayout>
#include <algorithm>

#include "ui/station/slot_tile.h"

namespace {

constexpr int kColumns = 4;
constexpr int kTickMs = 100;

}  // namespace

SlotGrid::SlotGrid(QWidget* parent) : QWidget(parent), m_layout(new QGridLayout(this)) {
    m_layout->setAlignment(Qt::AlignTop);
    for (int column = 0; column < kColumns; ++column) {
        m_layout->setColumnStretch(column, 1);
    }
    m_tick.setInterval(kTickMs);
    connect(&m_tick, &QTimer::timeout, this, &SlotGrid::TickBusyTiles);
    m_tick.start();
}

void SlotGrid::AddSlot(const SlotName& name) {
    if (SlotTile* tile = Tile(name.device)) {
        tile->SetPresent(true);
        return;
    }
    auto* tile = new SlotTile(name, this);
    m_tiles.insert(name.device, tile);
    m_names.insert(name.device, name.byPath.isEmpty() ? name.device : name.byPath);
    m_order.push_back(name.device);
    LayOut();
}

void SlotGrid::RemoveSlot(const QString& device) {
    SlotTile* tile = Tile(device);
    if (tile == nullptr) {
        return;
    }
    if (m_running) {
        tile->SetPresent(false);
        return;
    }
    m_tiles.remove(device);
    m_names.remove(device);
    m_order.erase(std::remove(m_order.begin(), m_order.end(), device), m_order.end());
    delete tile;
    LayOut();
}

void SlotGrid::Apply(const SlotUpdate& update) {
    if (SlotTile* tile = Tile(update.device)) {
        tile->Apply(update);
    }
}

void SlotGrid::SetRunning(bool running) {
    m_running = running;
    if (running) {
        return;
    }
    // Stopped: slots that went away during the run go now.
    const QList<QString> devices = m_tiles.keys();
    for (const QString& device : devices) {
        if (!m_tiles.value(device)->Present()) {
            RemoveSlot(device);
        }
    }
    LayOut();
}

SlotTile* SlotGrid::Tile(const QString& device) const {
    return m_tiles.value(device, nullptr);
}

void SlotGrid::LayOut() {
    if (!m_running) {
        std::sort(m_order.begin(), m_order.end(), [this](const QString& a, const QString& b) {
            return m_names.value(a) < m_names.value(b);
        });
    }
    for (SlotTile* tile : std::as_const(m_tiles)) {
        m_layout->removeWidget(tile);
    }
    for (std::size_t i = 0; i < m_order.size(); ++i) {
        const int place = static_cast<int>(i);
        m_layout->addWidget(m_tiles.value(m_order[i]), place / kColumns, place % kColumns);
    }
}

void SlotGrid::TickBusyTiles() {
    for (SlotTile* tile : std::as_const(m_tiles)) {
        tile->Tick();
    }
}
