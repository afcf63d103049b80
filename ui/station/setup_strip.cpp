#include "ui/station/setup_strip.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include "station/cfg_load_message.h"
#include "station/setting_values.h"
#include "station/windowless_program.h"

namespace {

// A setting as the summary shows it; frequencies to the kHz, as a person reads them.
QString FieldText(const ConfigSettings& settings, const char* name) {
    const SettingField* field = FindSettingField(name);
    if (field == nullptr) {
        return {};
    }
    const FieldValue value = GetFieldValue(settings, *field);
    if (const double* real = std::get_if<double>(&value)) {
        return QString::number(*real, 'f', 3);
    }
    return QString::fromStdString(FieldValueText(value));
}

}  // namespace

SetupStrip::SetupStrip(QWidget* parent)
    : QWidget(parent),
      m_configPath(new QLineEdit),
      m_chooseConfig(new QPushButton(QStringLiteral("&Open .cfg..."))),
      m_summary(new QLabel(QStringLiteral("No .cfg file chosen"))),
      m_fromPool(new QRadioButton(QStringLiteral("MACs from the &pool"))),
      m_fromStartMac(new QRadioButton(QStringLiteral("from start &MAC"))),
      m_startMac(new QLineEdit),
      m_verify(new QCheckBox(QStringLiteral("&Verify (read back)"))),
      m_rework(new QCheckBox(QStringLiteral("Re&work"))),
      m_ackTimeout(new QSpinBox),
      m_store(new QLabel),
      m_stationName(new QLineEdit),
      m_start(new QPushButton(QStringLiteral("Start (F5)"))),
      m_stop(new QPushButton(QStringLiteral("Stop (Shift+F5)"))),
      m_message(new QLabel) {
    m_configPath->setReadOnly(true);
    m_configPath->setPlaceholderText(QStringLiteral("the .cfg file to program"));
    m_startMac->setPlaceholderText(QStringLiteral("4C:56:00:00:00:01"));
    m_stationName->setPlaceholderText(QStringLiteral("station name"));
    m_verify->setChecked(true);
    m_rework->setToolTip(
        QStringLiteral("Write modules programmed on this line before again, keeping their MAC"));
    m_ackTimeout->setRange(10, 60000);
    m_ackTimeout->setValue(1000);
    m_ackTimeout->setSuffix(QStringLiteral(" ms"));
    m_ackTimeout->setToolTip(
        QStringLiteral("How long to wait for a module's acknowledgement once the frame has "
                       "left; a late answer costs time, a false failure costs a module"));
    m_store->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_fromPool->setChecked(true);
    m_stop->setEnabled(false);
    m_message->setWordWrap(true);
    m_message->setStyleSheet(QStringLiteral("color: #a40000; font-weight: bold;"));
    QFont big = m_start->font();
    big.setPointSizeF(big.pointSizeF() * 1.3);
    big.setBold(true);
    m_start->setFont(big);
    m_stop->setFont(big);

    // Fields that hold a MAC or a name are never squeezed below their text.
    const QFontMetrics metrics = m_startMac->fontMetrics();
    const int pad = metrics.averageCharWidth() * 3;
    m_startMac->setMinimumWidth(metrics.horizontalAdvance(QStringLiteral("4C:56:00:00:00:01")) +
                                pad);
    m_stationName->setMinimumWidth(metrics.horizontalAdvance(QStringLiteral("station-name-12")) +
                                   pad);
    m_configPath->setMinimumWidth(metrics.averageCharWidth() * 24);
    m_summary->setWordWrap(true);
    m_store->setWordWrap(true);

    // Four rows that fit a 1024-pixel screen: the file and its settings, the database, where
    // MACs come from and the station, then how modules are written with Start and Stop.
    auto* grid = new QGridLayout;
    auto* configLabel = new QLabel(QStringLiteral("Configuration:"));
    configLabel->setBuddy(m_configPath);
    grid->addWidget(configLabel, 0, 0);
    auto* config = new QHBoxLayout;
    config->addWidget(m_configPath, 1);
    config->addWidget(m_chooseConfig);
    grid->addLayout(config, 0, 1);
    grid->addWidget(m_summary, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Database:")), 1, 0);
    grid->addWidget(m_store, 1, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("MACs:")), 2, 0);
    auto* macs = new QHBoxLayout;
    macs->addWidget(m_fromPool);
    macs->addWidget(m_fromStartMac);
    macs->addWidget(m_startMac);
    macs->addStretch();
    auto* stationLabel = new QLabel(QStringLiteral("&Station:"));
    stationLabel->setBuddy(m_stationName);
    macs->addWidget(stationLabel);
    macs->addWidget(m_stationName);
    grid->addLayout(macs, 2, 1, 1, 2);
    auto* run = new QHBoxLayout;
    run->addWidget(m_verify);
    run->addWidget(m_rework);
    auto* ackLabel = new QLabel(QStringLiteral("Wait for ATO&K:"));
    ackLabel->setBuddy(m_ackTimeout);
    run->addWidget(ackLabel);
    run->addWidget(m_ackTimeout);
    run->addStretch();
    run->addWidget(m_start);
    run->addWidget(m_stop);
    grid->addLayout(run, 3, 1, 1, 2);
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(2, 2);
    auto* strip = new QVBoxLayout(this);
    strip->setContentsMargins(0, 0, 0, 0);
    strip->addLayout(grid);
    strip->addWidget(m_message);

    connect(m_chooseConfig, &QPushButton::clicked, this, &SetupStrip::ChooseConfig);
    connect(m_start, &QPushButton::clicked, this, &SetupStrip::startRequested);
    connect(m_fromPool, &QRadioButton::toggled, this, &SetupStrip::macSourceChanged);
    connect(m_stop, &QPushButton::clicked, this, &SetupStrip::stopRequested);
}

bool SetupStrip::LoadConfig(const QString& path) {
    ConfigFrame frame{};
    const CfgLoadOutcome outcome = LoadCfgFile(path.toStdString(), frame);
    // The field shows the file asked for, loaded or not: what it shows is what would be
    // programmed, and a path typed on the command line is not lost to its refusal.
    m_configPath->setText(path);
    m_loaded.configPath = path.toStdString();
    if (outcome != CfgLoadOutcome::Loaded) {
        m_loaded.settings.reset();
        m_configProblem = path + QStringLiteral(": ") + QString::fromUtf8(CfgLoadMessage(outcome));
        m_summary->setText(QStringLiteral("Not loaded"));
        ShowMessage(m_configProblem);
        return false;
    }
    m_loaded.settings = SettingsFromFrame(frame);
    m_configProblem.clear();
    m_summary->setText(SettingsSummary());
    ShowMessage({});
    return true;
}

QString SetupStrip::SettingsSummary() const {
    if (!m_loaded.settings) {
        return {};
    }
    const ConfigSettings& s = *m_loaded.settings;
    return QStringLiteral("network ID %1   start %2 MHz   RF baud %3   power %4")
        .arg(FieldText(s, "network_id"), FieldText(s, "start_freq_mhz"),
             FieldText(s, "rf_baud_def"), FieldText(s, "rf_power"));
}

void SetupStrip::SetPoolAvailable(bool available) {
    m_poolAvailable = available;
    m_fromPool->setEnabled(available);
    if (!available) {
        m_fromPool->setText(QStringLiteral("MACs from the pool (no station database)"));
        m_fromStartMac->setChecked(true);
    }
}

void SetupStrip::SetPoolFree(std::optional<qulonglong> free) {
    // The count follows the pool while the station runs too, when the choice is locked.
    if (!m_poolAvailable) {
        return;
    }
    m_fromPool->setText(free ? QStringLiteral("MACs from the &pool (%1 free)").arg(*free)
                             : QStringLiteral("MACs from the &pool (cannot be read)"));
}

void SetupStrip::SetStartMac(const QString& text) {
    m_startMac->setText(text);
}

void SetupStrip::SetStationName(const QString& name) {
    m_stationName->setText(name);
}

void SetupStrip::SetVerify(bool verify) {
    m_verify->setChecked(verify);
}

void SetupStrip::SetRework(bool rework) {
    m_rework->setChecked(rework);
}

void SetupStrip::SetAckTimeout(int ms) {
    m_ackTimeout->setValue(ms);
}

void SetupStrip::SetStoreLocation(const QString& location) {
    m_store->setText(location.isEmpty() ? QStringLiteral("none") : location);
    m_store->setToolTip(QStringLiteral("The station database: ") + m_store->text());
}

void SetupStrip::UsePool(bool pool) {
    (pool && m_poolAvailable ? m_fromPool : m_fromStartMac)->setChecked(true);
}

void SetupStrip::SetRunning(bool running) {
    for (QWidget* setting :
         {static_cast<QWidget*>(m_chooseConfig), static_cast<QWidget*>(m_startMac),
          static_cast<QWidget*>(m_verify), static_cast<QWidget*>(m_rework),
          static_cast<QWidget*>(m_ackTimeout), static_cast<QWidget*>(m_stationName),
          static_cast<QWidget*>(m_fromStartMac)}) {
        setting->setEnabled(!running);
    }
    m_fromPool->setEnabled(!running && m_poolAvailable);
    m_start->setEnabled(!running);
    m_stop->setEnabled(running);
}

void SetupStrip::ShowMessage(const QString& text) {
    m_message->setText(text);
    m_message->setVisible(!text.isEmpty());
}

StationSetup SetupStrip::Setup() const {
    StationSetup setup = m_loaded;
    setup.macsFromPool = m_fromPool->isChecked();
    setup.startMac = ParseMacAddress(m_startMac->text().trimmed().toStdString());
    setup.verify = m_verify->isChecked();
    setup.rework = m_rework->isChecked();
    setup.ackTimeout = std::chrono::milliseconds(m_ackTimeout->value());
    setup.stationName = m_stationName->text().trimmed().toStdString();
    return setup;
}

QString SetupStrip::Message() const {
    return m_message->text();
}

void SetupStrip::ChooseConfig() {
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("The .cfg file to program"), m_configPath->text(),
        QStringLiteral("Configuration files (*.cfg);;All files (*)"));
    if (!path.isEmpty()) {
        (void)LoadConfig(path);
    }
}
