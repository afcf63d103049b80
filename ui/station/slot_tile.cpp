#include "ui/station/slot_tile.h"

#include <QLabel>
#include <QTime>
#include <QVBoxLayout>

namespace {

// Text sizes relative to the window's font, so the tile scales with the screen's DPI.
constexpr double kWordScale = 2.4;
constexpr double kNameScale = 1.15;
// Wide enough for "ALREADY DONE" in the large word and a MAC beside "MAC".
constexpr int kWidthChars = 30;
// A failure's text and reason take up to this many lines; the tile keeps room for them.
constexpr int kFailureLines = 5;
// How far a pulled module's result fades towards the window's grey.
constexpr double kFade = 0.65;

QColor FadedColour(const QColor& colour) {
    const QColor grey(0xF4, 0xF5, 0xF6);
    auto mix = [](int a, int b) { return static_cast<int>(a + (b - a) * kFade); };
    return QColor(mix(colour.red(), grey.red()), mix(colour.green(), grey.green()),
                  mix(colour.blue(), grey.blue()));
}

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
    setMinimumWidth(WidthWanted(fontMetrics()));
    auto* layout = new QVBoxLayout(this);
    m_name = AddLabel(layout, kNameScale, true);
    m_device = AddLabel(layout, 1.0, false);
    m_word = AddLabel(layout, kWordScale, true);
    m_mac = AddLabel(layout, kNameScale, false);
    m_time = AddLabel(layout, 1.0, false);
    m_result = AddLabel(layout, 1.0, true);
    m_failure = AddLabel(layout, 1.0, false);
    // Only the failure text wraps: a wrapping label makes the grid ask every tile's height
    // for its width on each change. Its lines are kept free so no reason is cut off.
    m_failure->setObjectName(QStringLiteral("failure"));
    m_failure->setWordWrap(true);
    m_failure->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_failure->setMinimumHeight(m_failure->fontMetrics().lineSpacing() * kFailureLines);
    layout->addStretch();
    m_name->setText(name.byPath.isEmpty() ? name.device : name.byPath);
    m_name->setToolTip(name.byPath);
    m_deviceName = name.device;
    m_mac->setTextInteractionFlags(Qt::TextSelectableByMouse);
    setAccessibleName(m_name->text());
    ShowState();
}

int SlotTile::WidthWanted(const QFontMetrics& metrics) {
    return metrics.averageCharWidth() * kWidthChars;
}

void SlotTile::Apply(const SlotUpdate& update) {
    if (SlotStateBusy(update.state) && !SlotStateBusy(m_state)) {
        m_elapsed.start();  // a new module: what the last one left is cleared
        m_finishedMs = -1;
        m_failure->clear();
    }
    if (!SlotStateBusy(update.state) && SlotStateBusy(m_state)) {
        if (m_elapsed.isValid()) {
            m_finishedMs = m_elapsed.elapsed();
        }
        ++m_results;
        m_result->setText(QStringLiteral("#%1 at %2")
                              .arg(m_results)
                              .arg(QTime::currentTime().toString(QStringLiteral("HH:mm:ss"))));
    }
    m_state = update.state;
    if (!update.mac.isEmpty() || SlotStateBusy(update.state)) {
        m_mac->setText(update.mac.isEmpty() ? QString() : QStringLiteral("MAC ") + update.mac);
    }
    if (update.state == SlotState::Failed || update.state == SlotState::AlreadyDone) {
        m_failure->setText(update.statusText + QStringLiteral("\nreason: ") + update.reason);
        m_failure->setToolTip(m_failure->text());
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

QString SlotTile::ResultText() const {
    return m_result->text();
}

bool SlotTile::Faded() const {
    return !m_present && !SlotStateBusy(m_state) && m_results > 0;
}

void SlotTile::ShowState() {
    const bool faded = Faded();
    const QColor colour = faded ? FadedColour(SlotStateColour(m_state)) : SlotStateColour(m_state);
    if (palette().color(QPalette::Window) != colour) {
        QPalette colours = palette();
        colours.setColor(QPalette::Window, colour);
        colours.setColor(QPalette::WindowText, faded ? QColor(0x6A, 0x6F, 0x75) : Qt::black);
        setPalette(colours);
    }
    m_word->setText(SlotStateWord(m_state));
    m_device->setText(m_deviceName + (m_present ? QString() : QStringLiteral(" (pulled out)")));
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
