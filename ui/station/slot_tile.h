#pragma once

#include <QElapsedTimer>
#include <QFrame>

#include "ui/station/slot_state.h"

class QLabel;

// One slot as a person sees it from a step away: its name, its state as a large word on the
// state's colour, the MAC its module got, the time the module has taken, and for a failure the
// status text and the reason. A failure stays until the next module starts in the slot.
class SlotTile : public QFrame {
    Q_OBJECT

  public:
    explicit SlotTile(const SlotName& name, QWidget* parent = nullptr);

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

  private:
    void ShowState();
    void ShowElapsed();

    SlotState m_state = SlotState::Waiting;
    bool m_present = true;
    QString m_deviceName;
    QElapsedTimer m_elapsed;
    qint64 m_finishedMs = -1;  // the time of the last module, once it ended
    QLabel* m_name;
    QLabel* m_device;
    QLabel* m_word;
    QLabel* m_mac;
    QLabel* m_time;
    QLabel* m_failure;
};
