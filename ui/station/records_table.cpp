#include "ui/station/records_table.h"

#include <QComboBox>
#include <QDateTime>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>
#include <sstream>

#include "store/record_export.h"

namespace {

constexpr std::size_t kRowsHeld = 1000;
// The outcome and its reason stand next to the time and the slot's long by-path name last, so
// a narrow window scrolls the name away, never the outcome.
constexpr int kOutcomeColumn = 1;

QString SlotOf(const ProductionRecord& record) {
    return QString::fromStdString(record.portByPath.empty() ? record.port : record.portByPath);
}

QList<QStandardItem*> RowOf(const ProductionRecord& record) {
    const QString time = QDateTime::fromMSecsSinceEpoch(record.timeEnd)
                             .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    QList<QStandardItem*> row{new QStandardItem(time),
                              new QStandardItem(QString::fromStdString(record.outcome)),
                              new QStandardItem(QString::fromStdString(record.reason)),
                              new QStandardItem(QString::fromStdString(record.macWritten)),
                              new QStandardItem(SlotOf(record))};
    for (QStandardItem* item : row) {
        item->setEditable(false);
    }
    return row;
}

}  // namespace

RecordsTable::RecordsTable(QWidget* parent)
    : QWidget(parent),
      m_model(new QStandardItemModel(0, 5, this)),
      m_filter(new QSortFilterProxyModel(this)),
      m_view(new QTableView),
      m_outcome(new QComboBox) {
    m_model->setHorizontalHeaderLabels({QStringLiteral("Time"), QStringLiteral("Outcome"),
                                        QStringLiteral("Reason"), QStringLiteral("MAC"),
                                        QStringLiteral("Slot")});
    m_filter->setSourceModel(m_model);
    m_filter->setFilterKeyColumn(kOutcomeColumn);
    m_view->setModel(m_filter);
    m_view->verticalHeader()->hide();
    m_view->horizontalHeader()->setStretchLastSection(true);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setAlternatingRowColors(true);
    m_view->setWordWrap(false);
    // Widths from the font, not from the rows: measuring every row on each record would cost
    // the window's thread more as the table fills.
    const QFontMetrics metrics = m_view->fontMetrics();
    const int pad = metrics.averageCharWidth() * 2;
    m_view->setColumnWidth(0,
                           metrics.horizontalAdvance(QStringLiteral("2026-12-31 23:59:59")) + pad);
    m_view->setColumnWidth(1, metrics.horizontalAdvance(QStringLiteral("skipped")) + pad);
    m_view->setColumnWidth(2,
                           metrics.horizontalAdvance(QStringLiteral("already_programmed")) + pad);
    m_view->setColumnWidth(3, metrics.horizontalAdvance(QStringLiteral("4C:56:00:00:00:01")) + pad);

    m_outcome->addItem(QStringLiteral("All outcomes"), QString());
    m_outcome->addItem(QStringLiteral("ok"), QStringLiteral("ok"));
    m_outcome->addItem(QStringLiteral("failed"), QStringLiteral("failed"));
    m_outcome->addItem(QStringLiteral("skipped (already programmed)"), QStringLiteral("skipped"));
    auto* exportButton = new QPushButton(QStringLiteral("&Export CSV..."));
    auto* filterLabel = new QLabel(QStringLiteral("&Records by outcome:"));
    filterLabel->setBuddy(m_outcome);
    auto* bar = new QHBoxLayout;
    bar->addWidget(filterLabel);
    bar->addWidget(m_outcome);
    bar->addStretch();
    bar->addWidget(exportButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(m_view, 1);

    connect(m_outcome, &QComboBox::currentIndexChanged, this,
            [this] { FilterByOutcome(m_outcome->currentData().toString()); });
    connect(exportButton, &QPushButton::clicked, this, &RecordsTable::ChooseExportFile);
}

void RecordsTable::AddRecord(const ProductionRecord& record) {
    m_records.push_back(record);
    m_model->insertRow(0, RowOf(record));
    if (m_records.size() > kRowsHeld) {
        m_records.pop_front();
        m_model->removeRow(m_model->rowCount() - 1);
    }
}

void RecordsTable::FilterByOutcome(const QString& outcome) {
    m_outcomeShown = outcome;
    const int index = m_outcome->findData(outcome);
    if (index >= 0 && index != m_outcome->currentIndex()) {
        m_outcome->setCurrentIndex(index);
    }
    m_filter->setFilterRegularExpression(
        outcome.isEmpty() ? QString()
                          : QStringLiteral("^%1$").arg(QRegularExpression::escape(outcome)));
}

bool RecordsTable::Shown(const ProductionRecord& record) const {
    return m_outcomeShown.isEmpty() || QString::fromStdString(record.outcome) == m_outcomeShown;
}

bool RecordsTable::ExportCsv(const QString& path) const {
    std::vector<ProductionRecord> shown;
    for (const ProductionRecord& record : m_records) {
        if (Shown(record)) {
            shown.push_back(record);
        }
    }
    std::ostringstream csv;
    ExportRecords(shown, RecordFormat::Csv, csv);
    const std::string bytes = csv.str();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
        static_cast<qint64>(bytes.size())) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

int RecordsTable::RowsShown() const {
    return m_filter->rowCount();
}

QString RecordsTable::Cell(int row, int column) const {
    return m_filter->index(row, column).data().toString();
}

void RecordsTable::ChooseExportFile() {
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Export records"),
                                                      QStringLiteral("records.csv"),
                                                      QStringLiteral("CSV files (*.csv)"));
    if (path.isEmpty()) {
        return;
    }
    emit exported(ExportCsv(path) ? QStringLiteral("Records exported to ") + path
                                  : QStringLiteral("The records could not be written to ") + path);
}
