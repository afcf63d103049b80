#pragma once

#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <vector>

#include "station/run_figures.h"
#include "store/production_record.h"

class QBarSet;
class QChart;
class QLabel;
class QLineSeries;
class QValueAxis;

// The line's figures over the records held (the last day): modules programmed, each counted
// once, against the attempts made, the failures with those turned away for lack of a MAC, and
// modules per hour over the last quarter hour, which falls when the line stops. Below them a
// chart of the last hours: modules done per half hour as bars and the mean time per module
// as a line with its points. Redrawn at most once a second, and every second so the pace
// follows the clock.
class ThroughputPanel : public QWidget {
    Q_OBJECT

  public:
    explicit ThroughputPanel(QWidget* parent = nullptr);

    void AddRecord(const ProductionRecord& record);
    // Redraws now (tests and screenshots; otherwise the panel redraws on its own).
    void Refresh();

    [[nodiscard]] const RunFigures& Figures() const { return m_figures; }
    // The counters as shown: "Modules", "Attempts", "Failed", "Per hour".
    [[nodiscard]] QString CounterText(const QString& caption) const;

  private:
    struct Finished {
        std::int64_t endMs;
        std::int64_t tookMs;
    };

    void ShowCounters(std::int64_t nowMs);
    void RedrawChart(std::int64_t nowMs);

    RunFigures m_figures;
    std::vector<Finished> m_done;  // programmed modules, by end time
    bool m_dirty = false;
    QTimer m_redraw;
    QLabel* m_modulesLabel;
    QLabel* m_attemptsLabel;
    QLabel* m_failedLabel;
    QLabel* m_noMacLabel;
    QLabel* m_rateLabel;
    QChart* m_chart;
    QBarSet* m_perBucket;
    QLineSeries* m_meanTime;
    QValueAxis* m_countAxis;
    QValueAxis* m_timeAxis;
};
