#include "ui/station/station_banner.h"

#include <QLabel>
#include <QVBoxLayout>

namespace {

constexpr double kTextScale = 1.25;

}  // namespace

QStringList BannerLines(const StationConditions& c) {
    QStringList lines;
    if (!c.noStore.isEmpty()) {
        lines << QStringLiteral(
                     "RECORDS NOT KEPT: the station database did not open (%1). The station "
                     "cannot start. Give a database with --station-db or LVCFG_STATION_DB and "
                     "start lvcfg-station again.")
                     .arg(c.noStore);
    } else if (!c.storeFailed.isEmpty()) {
        lines << QStringLiteral(
                     "RECORDS NOT KEPT: the station database %1 failed (%2), and the station "
                     "takes no module until it works. Check the database, then press Stop and "
                     "Start.")
                     .arg(c.storeAt, c.storeFailed);
    }
    if (c.noStore.isEmpty() && c.macsFromPool && c.poolFree == std::optional<std::uint64_t>(0)) {
        lines << QStringLiteral(
            "MAC POOL EMPTY: new modules are not written (modules programmed before are still "
            "recognised). Add MACs with 'lvcfg-cli pool add FIRST-MAC COUNT'; the station takes "
            "them up at once.");
    }
    if (!c.noArrivals.isEmpty()) {
        lines << QStringLiteral(
                     "NO MODULE CAN BE SEEN: %1, so plugged-in adapters are never announced. "
                     "Start the udev daemon (systemd-udevd) and start lvcfg-station again.")
                     .arg(c.noArrivals);
    }
    return lines;
}

StationBanner::StationBanner(QWidget* parent) : QFrame(parent), m_text(new QLabel) {
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(0xA4, 0x00, 0x00));
    colours.setColor(QPalette::WindowText, Qt::white);
    setPalette(colours);
    QFont font = m_text->font();
    font.setPointSizeF(font.pointSizeF() * kTextScale);
    font.setBold(true);
    m_text->setFont(font);
    m_text->setWordWrap(true);
    m_text->setTextFormat(Qt::PlainText);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    setAccessibleName(QStringLiteral("Station alerts"));
    hide();
}

void StationBanner::Show(const StationConditions& conditions) {
    m_lines = BannerLines(conditions);
    m_text->setText(m_lines.join(QLatin1Char('\n')));
    setAccessibleDescription(m_text->text());
    setVisible(!m_lines.isEmpty());
}
