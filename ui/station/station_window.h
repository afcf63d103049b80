#pragma once

#include <QMainWindow>

class OrderPicker;
class RecordsTable;
class SetupStrip;
class SlotGrid;
class StationBanner;
class StationController;
class ThroughputPanel;

// The production window: a banner for what keeps the line from going on, the set-up strip,
// the slot tiles below it, the counters with the chart and the records at the bottom. Usable
// from 1024x768 to a wall screen. It opens no box while modules are programmed but one: closing
// during a run asks first. Refusals show in the strip, failures on their tiles, other notices
// in the status bar. F5 starts, Shift+F5 stops.
class StationWindow : public QMainWindow {
    Q_OBJECT

  public:
    explicit StationWindow(StationController& controller, QWidget* parent = nullptr);

    [[nodiscard]] SetupStrip& Strip() const { return *m_strip; }
    [[nodiscard]] SlotGrid& Slots() const { return *m_slots; }
    [[nodiscard]] ThroughputPanel& Throughput() const { return *m_throughput; }
    [[nodiscard]] RecordsTable& Records() const { return *m_records; }
    [[nodiscard]] StationBanner& Banner() const { return *m_banner; }
    [[nodiscard]] OrderPicker& Orders() const { return *m_orders; }

    void StartStation();
    void StopStation();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void Connect();
    [[nodiscard]] bool MayClose();
    void LoadRecords();

    StationController& m_controller;
    StationBanner* m_banner;
    SetupStrip* m_strip;
    SlotGrid* m_slots;
    ThroughputPanel* m_throughput;
    RecordsTable* m_records;
    OrderPicker* m_orders;
};
