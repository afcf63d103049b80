#include "ui/station/throughput_panel.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QDateTime>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>

#include "store/iso_time.h"

namespace {

constexpr std::int64_t kHourMs = 60LL * 60 * 1000;
constexpr std::int64_t kBucketMs = 30LL * 60 * 1000;
constexpr int kBuckets = 8;  // four hours
constexpr int kRedrawMs = 1000;
constexpr double kCounterScale = 2.0;

QLabel* Counter(QHBoxLayout* row, const QString& caption) {
    auto* box = new QVBoxLayout;
    auto* value = new QLabel(QStringLiteral("0"));
    QFont font = value->font();
    font.setPointSizeF(font.pointSizeF() * kCounterScale);
    font.setBold(true);
    value->setFont(font);
    box->addWidget(new QLabel(caption));
    box->addWidget(value);
    row->addLayout(box);
    return value;
}

}  // namespace

ThroughputPanel::ThroughputPanel(QWidget* parent)
    : QWidget(parent),
      m_chart(new QChart),
      m_perBucket(new QBarSet(QStringLiteral("modules programmed per half hour"))),
      m_meanTime(new QLineSeries),
      m_countAxis(new QValueAxis),
      m_timeAxis(new QValueAxis) {
    auto* counters = new QHBoxLayout;
    m_programmedLabel = Counter(counters, QStringLiteral("Programmed (24 h)"));
    m_failedLabel = Counter(counters, QStringLiteral("Failed (24 h)"));
    m_rateLabel = Counter(counters, QStringLiteral("Modules per hour"));
    counters->addStretch();

    m_meanTime->setName(QStringLiteral("mean seconds per module"));
    auto* bars = new QBarSeries;
    bars->append(m_perBucket);
    m_chart->addSeries(bars);
    m_chart->addSeries(m_meanTime);
    auto* buckets = new QBarCategoryAxis;
    m_chart->addAxis(buckets, Qt::AlignBottom);
    m_countAxis->setLabelFormat(QStringLiteral("%d"));
    m_countAxis->setTitleText(QStringLiteral("modules"));
    m_timeAxis->setTitleText(QStringLiteral("s / module"));
    m_chart->addAxis(m_countAxis, Qt::AlignLeft);
    m_chart->addAxis(m_timeAxis, Qt::AlignRight);
    bars->attachAxis(buckets);
    bars->attachAxis(m_countAxis);
    // The line's points sit at the bar indexes, so it shares the bars' axis.
    auto* lineX = new QValueAxis;
    lineX->setRange(-0.5, kBuckets - 0.5);
    lineX->setVisible(false);
    m_chart->addAxis(lineX, Qt::AlignBottom);
    m_meanTime->attachAxis(lineX);
    m_meanTime->attachAxis(m_timeAxis);
    m_chart->legend()->setAlignment(Qt::AlignBottom);
    m_chart->setMargins(QMargins(2, 2, 2, 2));

    auto* view = new QChartView(m_chart);
    view->setRenderHint(QPainter::Antialiasing, false);
    view->setMinimumHeight(fontMetrics().height() * 14);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(counters);
    layout->addWidget(view, 1);

    m_redraw.setInterval(kRedrawMs);
    connect(&m_redraw, &QTimer::timeout, this, [this] {
        if (m_dirty) {
            Refresh();
        }
    });
    m_redraw.start();
    Refresh();
}

void ThroughputPanel::AddRecord(const ProductionRecord& record) {
    if (record.outcome == "ok") {
        ++m_programmed;
        m_done.push_back({record.timeEnd, record.timeEnd - record.timeStart});
    } else {
        ++m_failed;
    }
    m_programmedLabel->setText(QString::number(m_programmed));
    m_failedLabel->setText(QString::number(m_failed));
    m_dirty = true;
}

double ThroughputPanel::ModulesPerHour(std::int64_t nowMs) const {
    const auto inLastHour = std::count_if(m_done.begin(), m_done.end(), [nowMs](const Finished& f) {
        return f.endMs > nowMs - kHourMs;
    });
    if (inLastHour == 0) {
        return 0.0;
    }
    // A line that started less than an hour ago is judged over the time it has run.
    std::int64_t first = nowMs;
    for (const Finished& f : m_done) {
        if (f.endMs > nowMs - kHourMs) {
            first = std::min(first, f.endMs - f.tookMs);
        }
    }
    const std::int64_t span = std::clamp<std::int64_t>(nowMs - first, 1000, kHourMs);
    return static_cast<double>(inLastHour) * static_cast<double>(kHourMs) /
           static_cast<double>(span);
}

void ThroughputPanel::Refresh() {
    const std::int64_t now = StoreClockNow();
    m_rateLabel->setText(QString::number(ModulesPerHour(now), 'f', 0));
    RedrawChart(now);
    m_dirty = false;
}

void ThroughputPanel::RedrawChart(std::int64_t nowMs) {
    const std::int64_t firstBucket = (nowMs / kBucketMs - (kBuckets - 1)) * kBucketMs;
    std::vector<int> count(kBuckets, 0);
    std::vector<std::int64_t> tookMs(kBuckets, 0);
    for (const Finished& f : m_done) {
        if (f.endMs >= firstBucket) {
            const auto bucket = static_cast<std::size_t>((f.endMs - firstBucket) / kBucketMs);
            if (bucket < count.size()) {
                ++count[bucket];
                tookMs[bucket] += f.tookMs;
            }
        }
    }
    QStringList labels;
    QList<QPointF> means;
    int most = 1;
    double slowest = 1.0;
    for (int i = 0; i < kBuckets; ++i) {
        const std::int64_t start = firstBucket + i * kBucketMs;
        labels << (i % 4 == 0
                       ? QDateTime::fromMSecsSinceEpoch(start).toString(QStringLiteral("HH:mm"))
                       : QStringLiteral(" ").repeated(i));
        // In place: emptying and refilling the set makes the chart lay out every bar again.
        if (i < m_perBucket->count()) {
            if (m_perBucket->at(i) != count[i]) {
                m_perBucket->replace(i, count[i]);
            }
        } else {
            m_perBucket->append(count[i]);
        }
        most = std::max(most, count[i]);
        if (count[i] > 0) {
            const double mean = static_cast<double>(tookMs[i]) / count[i] / 1000.0;
            means.append(QPointF(i, mean));
            slowest = std::max(slowest, mean);
        }
    }
    m_meanTime->replace(means);
    auto* buckets = qobject_cast<QBarCategoryAxis*>(m_chart->axes(Qt::Horizontal).first());
    if (buckets->categories() != labels) {
        buckets->setCategories(labels);
    }
    m_countAxis->setRange(0, most);
    m_timeAxis->setRange(0, slowest * 1.2);
}
