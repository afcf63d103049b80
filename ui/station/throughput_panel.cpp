#include "ui/station/throughput_panel.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QDateTime>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>

#include "store/iso_time.h"

namespace {

constexpr std::int64_t kBucketMs = 30LL * 60 * 1000;
constexpr int kBuckets = 8;  // four hours
constexpr int kRedrawMs = 1000;
constexpr double kCounterScale = 2.0;
constexpr int kChartLines = 9;
constexpr double kAxisScale = 0.8;

QLabel* Counter(QHBoxLayout* row, const QString& caption, const QString& tip) {
    auto* box = new QVBoxLayout;
    box->setSpacing(0);  // a caption sits on its count, whatever the row's spacing
    auto* value = new QLabel(QStringLiteral("0"));
    QFont font = value->font();
    font.setPointSizeF(font.pointSizeF() * kCounterScale);
    font.setBold(true);
    value->setFont(font);
    // Room for five digits, so the columns do not move as counts grow.
    value->setMinimumWidth(QFontMetrics(font).horizontalAdvance(QStringLiteral("00000")));
    value->setObjectName(caption);
    auto* label = new QLabel(caption);
    label->setToolTip(tip);
    value->setToolTip(tip);
    box->addWidget(label);
    box->addWidget(value);
    row->addLayout(box);
    return value;
}

}  // namespace

ThroughputPanel::ThroughputPanel(QWidget* parent)
    : QWidget(parent),
      m_chart(new QChart),
      m_perBucket(new QBarSet(QStringLiteral("modules per half hour"))),
      m_meanTime(new QLineSeries),
      m_countAxis(new QValueAxis),
      m_timeAxis(new QValueAxis) {
    auto* counters = new QHBoxLayout;
    // Counts side by side must not read as one long number.
    counters->setSpacing(fontMetrics().height() * 2);
    m_modulesLabel = Counter(counters, QStringLiteral("Modules"),
                             QStringLiteral("Modules programmed over the last day, each counted "
                                            "once however often it was plugged in"));
    m_attemptsLabel = Counter(counters, QStringLiteral("Attempts"),
                              QStringLiteral("Modules plugged in over the last day, every time"));
    m_failedLabel = Counter(counters, QStringLiteral("Failed"),
                            QStringLiteral("Attempts that left their module unprogrammed, those "
                                           "turned away for lack of a MAC included"));
    m_rateLabel = Counter(counters, QStringLiteral("Per hour"),
                          QStringLiteral("Modules programmed per hour over the last 15 minutes; "
                                         "none is judged from under a minute of work"));
    counters->addStretch();
    m_noMacLabel = new QLabel;

    m_meanTime->setName(QStringLiteral("mean s per module"));
    // A half hour alone is one point: it is drawn as a mark, not as a line of no length.
    m_meanTime->setPointsVisible(true);
    auto* bars = new QBarSeries;
    bars->append(m_perBucket);
    m_chart->addSeries(bars);
    m_chart->addSeries(m_meanTime);
    auto* buckets = new QBarCategoryAxis;
    // The times under the bars in a smaller type, so they fit half-hour bars on a small screen.
    QFont small = buckets->labelsFont();
    small.setPointSizeF(small.pointSizeF() * kAxisScale);
    buckets->setLabelsFont(small);
    m_chart->addAxis(buckets, Qt::AlignBottom);
    m_countAxis->setLabelFormat(QStringLiteral("%d"));
    m_countAxis->setTitleText(QStringLiteral("modules"));
    m_countAxis->setTickType(QValueAxis::TicksDynamic);
    m_countAxis->setTickAnchor(0);
    m_timeAxis->setTitleText(QStringLiteral("s / module"));
    m_timeAxis->setLabelFormat(QStringLiteral("%.1f"));
    // The value axes in the same smaller type, and the times in four steps: on a 768-line screen
    // the chart is a few lines high, and labels that do not fit are cut to "...".
    m_countAxis->setLabelsFont(small);
    m_timeAxis->setLabelsFont(small);
    m_timeAxis->setTickCount(4);
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
    view->setMinimumHeight(fontMetrics().height() * kChartLines);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(counters);
    layout->addWidget(m_noMacLabel);
    layout->addWidget(view, 1);
    m_noMacLabel->hide();

    m_redraw.setInterval(kRedrawMs);
    connect(&m_redraw, &QTimer::timeout, this, [this] {
        const std::int64_t now = StoreClockNow();
        ShowCounters(now);  // the pace follows the clock
        if (m_dirty) {
            RedrawChart(now);
            m_dirty = false;
        }
    });
    m_redraw.start();
    Refresh();
}

void ThroughputPanel::AddRecord(const ProductionRecord& record) {
    m_figures.Add(record);
    if (record.outcome == "ok") {
        m_done.push_back({record.timeEnd, record.timeEnd - record.timeStart});
    }
    ShowCounters(StoreClockNow());
    m_dirty = true;
}

void ThroughputPanel::ShowCounters(std::int64_t nowMs) {
    m_modulesLabel->setText(QString::number(m_figures.Modules()));
    m_attemptsLabel->setText(QString::number(m_figures.Attempts()));
    m_failedLabel->setText(QString::number(m_figures.Failed()));
    const std::optional<double> perHour = m_figures.ModulesPerHour(nowMs);
    m_rateLabel->setText(perHour ? QString::number(*perHour, 'f', 0) : QStringLiteral("-"));
    const int noMac = m_figures.NoMac();
    m_noMacLabel->setText(
        QStringLiteral("%1 of the failed found no MAC left and were not written").arg(noMac));
    m_noMacLabel->setVisible(noMac > 0);
}

QString ThroughputPanel::CounterText(const QString& caption) const {
    const auto* value = findChild<QLabel*>(caption);
    return value != nullptr ? value->text() : QString();
}

void ThroughputPanel::Refresh() {
    const std::int64_t now = StoreClockNow();
    ShowCounters(now);
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
    // Whole modules only: a step of 1 up to 5, then steps that keep about five labels.
    m_countAxis->setTickInterval(std::max(1, (most + 4) / 5));
    m_timeAxis->setRange(0, slowest * 1.2);
}
