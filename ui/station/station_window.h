#pragma once

#include <QMainWindow>

class OrderPicker;
class RecordsTable;
class SetupStrip;
class SlotGrid;
class StationController;
class ThroughputPanel;

// The production window: the set-up strip on top, the slot tiles below it, the counters with
// the chart and the records at the bottom. It never opens a box while the station runs:
// refusals show in the strip, failures on their tiles, other notices in the status bar.
// F5 starts, Shift+F5 stops.
class StationWindow : public QMainWindow {
    Q_OBJECT

  public:
    explicit StationWindow(StationController& controller, QWidget* parent = nullptr);

    [[nodiscard]] SetupStrip& Strip() const { return *m_strip; }
    [[nodiscard]] SlotGrid& Slots() const { return *m_slots; }
    [[nodiscard]] ThroughputPanel& Throughput() const { return *m_throughput; }
    [[nodiscard]] RecordsTable& Records() const { return *m_records; }
    [[nodiscard]] OrderPicker& Orders() const { return *m_orders; }

    void StartStation();
    void StopStation();

  private:
    void Connect();
    void LoadRecords();

    StationController& m_controller;
    SetupStrip* m_strip;
    SlotGrid* m_slots;
    ThroughputPanel* m_throughput;
    RecordsTable* m_records;
    OrderPicker* m_orders;
};
