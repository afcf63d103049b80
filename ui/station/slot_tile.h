#pragma once

#include <QElapsedTimer>
#include <QFrame>

#include "ui/station/slot_state.h"

class QLabel;

// One slot as a person sees it from a step away: its name, its state as a large word on the
// state's colour, the MAC its module got, the time the module has taken, when the result came
// and the how-manieth result of the slot it is, and for a failure the status text and the
// reason. A result stays until the next module starts in the slot; once its module is pulled
// out it fades, so a fresh result is told from an old one at a glance.
class SlotTile : public QFrame {
    Q_OBJECT

  public:
    explicit SlotTile(const SlotName& name, QWidget* parent = nullptr);

    // The width a tile wants in a window of these font metrics.
    [[nodiscard]] static int WidthWanted(const QFontMetrics& metrics);

    void Apply(const SlotUpdate& update);
    // Refreshes the elapsed time of a module being programmed.
    void Tick();
    void SetPresent(bool present);
    // A module plugged in again into this slot may come as another device.
    void SetDevice(const QString& device);
    [[nodiscard]] QString Device() const { return m_deviceName; }

    [[nodiscard]] SlotState State() const { return m_state; }
    [[nodiscard]] bool Present() const { return m_present; }
    [[nodiscard]] QString StateWord() const;
    [[nodiscard]] QString MacText() const;
    [[nodiscard]] QString FailureText() const;
    // When the last result came and its number in this slot ("#3 at 14:02:17"); empty before.
    [[nodiscard]] QString ResultText() const;
    // A result whose module has been pulled out: shown faded.
    [[nodiscard]] bool Faded() const;

  private:
    void ShowState();
    void ShowElapsed();

    SlotState m_state = SlotState::Waiting;
    bool m_present = true;
    QString m_deviceName;
    QElapsedTimer m_elapsed;
    qint64 m_finishedMs = -1;  // the time of the last module, once it ended
    int m_results = 0;         // results this slot has shown
    QLabel* m_name;
    QLabel* m_device;
    QLabel* m_word;
    QLabel* m_mac;
    QLabel* m_time;
    QLabel* m_result;
    QLabel* m_failure;
};
