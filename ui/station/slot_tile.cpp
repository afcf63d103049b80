#include "ui/station/slot_tile.h"

#include <QLabel>
#include <QVBoxLayout>

namespace {

// Text sizes relative to the window's font, so the tile scales with the screen's DPI.
constexpr double kWordScale = 2.4;
constexpr double kNameScale = 1.15;

QLabel* AddLabel(QVBoxLayout* layout, double scale, bool bold) {
    auto* label = new QLabel;
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * scale);
    font.setBold(bold);
    label->setFont(font);
    layout->addWidget(label);
    return label;
}

QString ElapsedText(qint64 ms) {
    return QString::number(static_cast<double>(ms) / 1000.0, 'f', 2) + QStringLiteral(" s");
}

}  // namespace

SlotTile::SlotTile(const SlotName& name, QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    setMinimumWidth(fontMetrics().averageCharWidth() * 30);
    auto* layout = new QVBoxLayout(this);
    m_name = AddLabel(layout, kNameScale, true);
    m_device = AddLabel(layout, 1.0, false);
    m_word = AddLabel(layout, kWordScale, true);
    m_mac = AddLabel(layout, kNameScale, false);
    m_time = AddLabel(layout, 1.0, false);
    m_failure = AddLabel(layout, 1.0, false);
    // Only the failure text wraps: a wrapping label makes the grid ask every tile's height
    // for its width on each change.
    m_failure->setWordWrap(true);
    layout->addStretch();
    m_name->setText(name.byPath.isEmpty() ? name.device : name.byPath);
    m_name->setToolTip(name.byPath);
    m_deviceName = name.device;
    m_mac->setTextInteractionFlags(Qt::TextSelectableByMouse);
    setAccessibleName(m_name->text());
    ShowState();
}

void SlotTile::Apply(const SlotUpdate& update) {
    if (SlotStateBusy(update.state) && !SlotStateBusy(m_state)) {
        m_elapsed.start();  // a new module: what the last one left is cleared
        m_finishedMs = -1;
        m_failure->clear();
    }
    if (!SlotStateBusy(update.state) && SlotStateBusy(m_state) && m_elapsed.isValid()) {
        m_finishedMs = m_elapsed.elapsed();
    }
    m_state = update.state;
    if (!update.mac.isEmpty() || SlotStateBusy(update.state)) {
        m_mac->setText(update.mac.isEmpty() ? QString() : QStringLiteral("MAC ") + update.mac);
    }
    if (update.state == SlotState::Failed || update.state == SlotState::AlreadyDone) {
        m_failure->setText(update.statusText + QStringLiteral("\nreason: ") + update.reason);
    }
    ShowState();
}

void SlotTile::Tick() {
    if (SlotStateBusy(m_state)) {
        ShowElapsed();
    }
}

void SlotTile::SetDevice(const QString& device) {
    m_deviceName = device;
    ShowState();
}

void SlotTile::SetPresent(bool present) {
    m_present = present;
    ShowState();
}

QString SlotTile::StateWord() const {
    return m_word->text();
}

QString SlotTile::MacText() const {
    return m_mac->text();
}

QString SlotTile::FailureText() const {
    return m_failure->text();
}

void SlotTile::ShowState() {
    const QColor colour = SlotStateColour(m_state);
    if (palette().color(QPalette::Window) != colour) {
        QPalette colours = palette();
        colours.setColor(QPalette::Window, colour);
        colours.setColor(QPalette::WindowText, Qt::black);
        setPalette(colours);
    }
    m_word->setText(SlotStateWord(m_state));
    m_device->setText(m_deviceName + (m_present ? QString() : QStringLiteral(" (unplugged)")));
    // The device beside the by-path name; a port named by its device shows it once.
    m_device->setVisible(!m_present || m_device->text() != m_name->text());
    setAccessibleDescription(m_word->text() + QLatin1Char(' ') + m_failure->text());
    ShowElapsed();
}

void SlotTile::ShowElapsed() {
    if (SlotStateBusy(m_state) && m_elapsed.isValid()) {
        m_time->setText(ElapsedText(m_elapsed.elapsed()));
    } else if (m_finishedMs >= 0) {
        m_time->setText(QStringLiteral("took ") + ElapsedText(m_finishedMs));
    } else {
        m_time->clear();
    }
}
