#pragma once

#include <QWidget>
#include <deque>

#include "store/production_record.h"

class QComboBox;
class QSortFilterProxyModel;
class QStandardItemModel;
class QTableView;

// The latest records from the store, newest on top: time, outcome, reason, MAC and slot.
// Filterable by outcome; the records shown export to CSV in the store's export format.
class RecordsTable : public QWidget {
    Q_OBJECT

  public:
    explicit RecordsTable(QWidget* parent = nullptr);

    void AddRecord(const ProductionRecord& record);
    // Shows only records with `outcome` ("ok", "failed"); an empty text shows all.
    void FilterByOutcome(const QString& outcome);
    // Writes the records shown to `path` as CSV, replacing the file only once the new one is
    // complete. false when it cannot be written.
    [[nodiscard]] bool ExportCsv(const QString& path) const;

    [[nodiscard]] int RowsShown() const;
    [[nodiscard]] QString Cell(int row, int column) const;

  signals:
    void exported(const QString& text);

  private:
    void ChooseExportFile();
    [[nodiscard]] bool Shown(const ProductionRecord& record) const;

    std::deque<ProductionRecord> m_records;  // oldest first, as many as the table holds
    QString m_outcomeShown;
    QStandardItemModel* m_model;
    QSortFilterProxyModel* m_filter;
    QTableView* m_view;
    QComboBox* m_outcome;
};
