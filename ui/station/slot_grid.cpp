#include "ui/station/slot_grid.h"

#include <QGridLayout>
#include <QResizeEvent>
#include <algorithm>

#include "ui/station/natural_order.h"
#include "ui/station/slot_tile.h"

namespace {

// As many tiles to a row as fit, between these: 4 on a 1024-pixel screen, 8 on a wall screen.
constexpr int kFewestColumns = 2;
constexpr int kMostColumns = 8;
constexpr int kTickMs = 100;

}  // namespace

SlotGrid::SlotGrid(QWidget* parent) : QWidget(parent), m_layout(new QGridLayout(this)) {
    m_layout->setAlignment(Qt::AlignTop);
    m_tick.setInterval(kTickMs);
    connect(&m_tick, &QTimer::timeout, this, &SlotGrid::TickBusyTiles);
    m_tick.start();
}

// A slot is its USB socket where it has a by-path name: a module plugged in again may get
// another device, or its old device may go to another socket, and the tile follows the socket.
void SlotGrid::AddSlot(const SlotName& name) {
    const QString key = name.byPath.isEmpty() ? name.device : name.byPath;
    m_keyOfDevice.insert(name.device, key);
    if (SlotTile* tile = m_tiles.value(key, nullptr)) {
        tile->SetDevice(name.device);
        tile->SetPresent(true);
        return;
    }
    auto* tile = new SlotTile(name, this);
    m_tiles.insert(key, tile);
    m_order.push_back(key);
    LayOut();
}

void SlotGrid::RemoveSlot(const QString& device) {
    const QString key = m_keyOfDevice.value(device, device);
    SlotTile* tile = m_tiles.value(key, nullptr);
    if (tile == nullptr || tile->Device() != device) {
        return;  // that device has moved on to another slot already
    }
    if (m_running) {
        tile->SetPresent(false);
        return;
    }
    DropSlot(key);
    LayOut();
}

void SlotGrid::DropSlot(const QString& key) {
    SlotTile* tile = m_tiles.take(key);
    if (m_keyOfDevice.value(tile->Device()) == key) {
        m_keyOfDevice.remove(tile->Device());
    }
    m_order.erase(std::remove(m_order.begin(), m_order.end(), key), m_order.end());
    delete tile;
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
    const QList<QString> keys = m_tiles.keys();
    for (const QString& key : keys) {
        if (!m_tiles.value(key)->Present()) {
            DropSlot(key);
        }
    }
    LayOut();
}

SlotTile* SlotGrid::Tile(const QString& device) const {
    return m_tiles.value(m_keyOfDevice.value(device, device), nullptr);
}

void SlotGrid::LayOut() {
    if (!m_running) {
        std::sort(m_order.begin(), m_order.end(), NaturalLess);
    }
    for (SlotTile* tile : std::as_const(m_tiles)) {
        m_layout->removeWidget(tile);
    }
    for (int column = 0; column < kMostColumns; ++column) {
        m_layout->setColumnStretch(column, column < m_columns ? 1 : 0);
    }
    for (std::size_t i = 0; i < m_order.size(); ++i) {
        const int place = static_cast<int>(i);
        m_layout->addWidget(m_tiles.value(m_order[i]), place / m_columns, place % m_columns);
    }
    // The rows keep the tiles' own height; what is left stays below them.
    const int rows = (static_cast<int>(m_order.size()) + m_columns - 1) / m_columns;
    for (int row = 0; row <= std::max(rows, m_stretchRow); ++row) {
        m_layout->setRowStretch(row, row == rows ? 1 : 0);
    }
    m_stretchRow = rows;
}

void SlotGrid::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int tileWidth = SlotTile::WidthWanted(fontMetrics()) + m_layout->horizontalSpacing();
    const int columns =
        std::clamp(event->size().width() / std::max(1, tileWidth), kFewestColumns, kMostColumns);
    if (columns != m_columns) {
        m_columns = columns;
        LayOut();
    }
}

void SlotGrid::TickBusyTiles() {
    for (SlotTile* tile : std::as_const(m_tiles)) {
        tile->Tick();
    }
}
