#pragma once

#include <QMap>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <vector>

#include "ui/station/slot_state.h"

class QGridLayout;
class SlotTile;

// The tiles of the slots, as many to a row as the width holds (four at 1024 pixels). While the
// station runs, a tile keeps its place: a slot whose port goes away stays, marked unplugged, so the
// failure it shows is not lost and the tiles around it do not move. Stopped, the grid follows the
// ports and is ordered by name, numbers counted as numbers.
class SlotGrid : public QWidget {
    Q_OBJECT

  public:
    explicit SlotGrid(QWidget* parent = nullptr);

    void AddSlot(const SlotName& name);
    void RemoveSlot(const QString& device);
    void Apply(const SlotUpdate& update);
    void SetRunning(bool running);

    // The tile of the slot `device` was last plugged into.
    [[nodiscard]] SlotTile* Tile(const QString& device) const;
    [[nodiscard]] int Count() const { return static_cast<int>(m_order.size()); }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void LayOut();
    void DropSlot(const QString& key);
    void TickBusyTiles();

    QGridLayout* m_layout;
    QMap<QString, SlotTile*> m_tiles;      // by slot: by-path name, else device
    QMap<QString, QString> m_keyOfDevice;  // the slot each device was last seen in
    std::vector<QString> m_order;          // slots in their places
    bool m_running = false;
    int m_columns = 4;
    int m_stretchRow = 0;  // the row below the tiles that takes the space left
    QTimer m_tick;
};
