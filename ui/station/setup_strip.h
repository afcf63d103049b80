#pragma once

#include <QWidget>
#include <optional>

#include "ui/station/station_setup.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

// The strip above the slots: the .cfg file to program with its key settings, the station
// database in use, where MACs come from (the pool, with its free count, or a start MAC that
// moves on as MACs are sent), verification, rework, the wait for the acknowledgement, the
// station's name, and Start (F5) and Stop (Shift+F5). Refusals are shown in the strip, never
// in a box.
class SetupStrip : public QWidget {
    Q_OBJECT

  public:
    explicit SetupStrip(QWidget* parent = nullptr);

    // Loads the .cfg file at `path`; false, with the window's text shown, when it is refused.
    bool LoadConfig(const QString& path);
    void SetPoolAvailable(bool available);
    void SetPoolFree(std::optional<qulonglong> free);
    void SetStartMac(const QString& text);
    void SetStationName(const QString& name);
    void SetVerify(bool verify);
    void SetRework(bool rework);
    void SetAckTimeout(int ms);
    // The station database in use, as people may see it; empty: none.
    void SetStoreLocation(const QString& location);
    void UsePool(bool pool);
    void SetRunning(bool running);
    void ShowMessage(const QString& text);

    [[nodiscard]] StationSetup Setup() const;
    [[nodiscard]] QString Message() const;
    [[nodiscard]] QString SettingsSummary() const;
    // Why the .cfg file in the field did not load; empty when it did or none was given.
    [[nodiscard]] QString ConfigProblem() const { return m_configProblem; }

  signals:
    void startRequested();
    void stopRequested();
    // The pool (true) or a start MAC (false) was chosen.
    void macSourceChanged(bool fromPool);

  private:
    void ChooseConfig();

    StationSetup m_loaded;
    QString m_configProblem;
    bool m_poolAvailable = true;
    QLineEdit* m_configPath;
    QPushButton* m_chooseConfig;
    QLabel* m_summary;
    QRadioButton* m_fromPool;
    QRadioButton* m_fromStartMac;
    QLineEdit* m_startMac;
    QCheckBox* m_verify;
    QCheckBox* m_rework;
    QSpinBox* m_ackTimeout;
    QLabel* m_store;
    QLineEdit* m_stationName;
    QPushButton* m_start;
    QPushButton* m_stop;
    QLabel* m_message;
};
