#pragma once

#include <QFrame>
#include <QStringList>

#include "ui/station/station_conditions.h"

class QLabel;

// The band across the top of the station window that says, in large type, why the line cannot
// go on and what to do next: no MAC left in the pool, no udev to see modules arrive, records
// not kept because the station database failed or never opened. It stays while a condition
// lasts and hides when none does.
class StationBanner : public QFrame {
    Q_OBJECT

  public:
    explicit StationBanner(QWidget* parent = nullptr);

    void Show(const StationConditions& conditions);
    // The lines shown, one per condition, most pressing first.
    [[nodiscard]] QStringList Lines() const { return m_lines; }

  private:
    QStringList m_lines;
    QLabel* m_text;
};

// The banner's lines for `conditions`: each says what is wrong and the next step.
[[nodiscard]] QStringList BannerLines(const StationConditions& conditions);
