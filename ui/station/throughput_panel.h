#pragma once

#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <vector>

#include "store/production_record.h"

class QBarSet;
class QChart;
class QLabel;
class QLineSeries;
class QValueAxis;

// The line's pace: modules programmed and failed over the records held (the last day), modules
// per hour over the last hour, and a chart of the last hours: modules done per half hour as
// bars and the mean time per module as a line. The chart is redrawn at most once a second.
class ThroughputPanel : public QWidget {
    Q_OBJECT

  public:
    explicit ThroughputPanel(QWidget* parent = nullptr);

    void AddRecord(const ProductionRecord& record);
    // Redraws now (tests and screenshots; otherwise the panel redraws on its own).
    void Refresh();

    [[nodiscard]] int Programmed() const { return m_programmed; }
    [[nodiscard]] int Failed() const { return m_failed; }
    [[nodiscard]] double ModulesPerHour(std::int64_t nowMs) const;

  private:
    struct Finished {
        std::int64_t endMs;
        std::int64_t tookMs;
    };

    void RedrawChart(std::int64_t nowMs);

    std::vector<Finished> m_done;  // programmed modules, by end time
    int m_programmed = 0;
    int m_failed = 0;
    bool m_dirty = false;
    QTimer m_redraw;
    QLabel* m_programmedLabel;
    QLabel* m_failedLabel;
    QLabel* m_rateLabel;
    QChart* m_chart;
    QBarSet* m_perBucket;
    QLineSeries* m_meanTime;
    QValueAxis* m_countAxis;
    QValueAxis* m_timeAxis;
};
