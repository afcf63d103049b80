#include "ui/station/station_window.h"

#include <QCloseEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QStatusBar>
#include <QVBoxLayout>

#include "ui/station/order_picker.h"
#include "ui/station/records_table.h"
#include "ui/station/setup_strip.h"
#include "ui/station/shared_splitter.h"
#include "ui/station/slot_grid.h"
#include "ui/station/slot_tile.h"
#include "ui/station/station_banner.h"
#include "ui/station/station_controller.h"
#include "ui/station/throughput_panel.h"

namespace {

constexpr std::size_t kRecordsLoaded = 1000;
constexpr int kNoticeMs = 15000;
constexpr int kSlotAreaMargin = 16;
// How the window's height and the bottom's width are shared at first, in parts.
constexpr int kSlotsShare = 55;
constexpr int kFiguresShare = 45;
constexpr int kChartShare = 45;
constexpr int kRecordsShare = 55;

}  // namespace

StationWindow::StationWindow(StationController& controller, QWidget* parent)
    : QMainWindow(parent),
      m_controller(controller),
      m_banner(new StationBanner),
      m_strip(new SetupStrip),
      m_slots(new SlotGrid),
      m_throughput(new ThroughputPanel),
      m_records(new RecordsTable),
      m_orders(new OrderPicker) {
    setWindowTitle(QStringLiteral("lvcfg-station"));
    auto* slotArea = new QScrollArea;
    slotArea->setWidget(m_slots);
    slotArea->setWidgetResizable(true);
    // One whole row of tiles at least: the slots are what a person looks at from a step away.
    const SlotTile probe({QStringLiteral("/dev/ttyUSB0"), {}});
    slotArea->setMinimumHeight(probe.minimumSizeHint().height() + kSlotAreaMargin);
    auto* bottom = new SharedSplitter(Qt::Horizontal, {kChartShare, kRecordsShare});
    bottom->addWidget(m_throughput);
    bottom->addWidget(m_records);
    auto* middle = new SharedSplitter(Qt::Vertical, {kSlotsShare, kFiguresShare});
    middle->addWidget(slotArea);
    middle->addWidget(bottom);
    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(m_banner);
    layout->addWidget(m_strip);
    layout->addWidget(m_orders);
    layout->addWidget(middle, 1);
    setCentralWidget(central);

    auto* start = new QShortcut(QKeySequence(Qt::Key_F5), this);
    auto* stop = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F5), this);
    connect(start, &QShortcut::activated, this, &StationWindow::StartStation);
    connect(stop, &QShortcut::activated, this, &StationWindow::StopStation);
    Connect();

    m_strip->SetPoolAvailable(m_controller.HasStore());
    m_strip->SetStoreLocation(m_controller.StoreLocation());
    m_strip->SetPoolFree(m_controller.Conditions().poolFree);
    m_banner->Show(m_controller.Conditions());
    m_orders->SetOrders(m_controller.Orders());
    LoadRecords();
}

void StationWindow::Connect() {
    connect(m_strip, &SetupStrip::startRequested, this, &StationWindow::StartStation);
    connect(m_strip, &SetupStrip::stopRequested, this, &StationWindow::StopStation);
    connect(m_strip, &SetupStrip::macSourceChanged, &m_controller,
            &StationController::SetMacsFromPool);
    connect(&m_controller, &StationController::conditionsChanged, m_banner, &StationBanner::Show);
    connect(&m_controller, &StationController::slotAppeared, m_slots, &SlotGrid::AddSlot);
    connect(&m_controller, &StationController::slotGone, m_slots, &SlotGrid::RemoveSlot);
    connect(&m_controller, &StationController::slotChanged, m_slots, &SlotGrid::Apply);
    connect(&m_controller, &StationController::recordKept, this,
            [this](const ProductionRecord& record) {
                m_throughput->AddRecord(record);
                m_records->AddRecord(record);
            });
    connect(&m_controller, &StationController::poolFreeChanged, this,
            [this](qulonglong free) { m_strip->SetPoolFree(free); });
    // A start MAC moves on with every MAC sent, so Stop and Start never hand one out again.
    connect(&m_controller, &StationController::nextStartMac, m_strip, &SetupStrip::SetStartMac);
    connect(&m_controller, &StationController::runningChanged, this, [this](bool running) {
        m_strip->SetRunning(running);
        m_slots->SetRunning(running);
        m_orders->SetRunning(running);
    });
    connect(m_orders, &OrderPicker::refreshRequested, this,
            [this] { m_orders->SetOrders(m_controller.Orders()); });
    connect(&m_controller, &StationController::orderComplete, this, [this](const QString& order) {
        m_orders->ShowComplete(order);
        m_orders->SetOrders(m_controller.Orders());
        statusBar()->showMessage(
            QStringLiteral("ORDER COMPLETE: order %1 has all its modules; the station stopped.")
                .arg(order));
    });
    connect(&m_controller, &StationController::notice, this,
            [this](const QString& text) { statusBar()->showMessage(text, kNoticeMs); });
    connect(m_records, &RecordsTable::exported, this,
            [this](const QString& text) { statusBar()->showMessage(text, kNoticeMs); });
}

void StationWindow::LoadRecords() {
    for (const ProductionRecord& record : m_controller.LatestRecords(kRecordsLoaded)) {
        m_throughput->AddRecord(record);
        m_records->AddRecord(record);
    }
    m_throughput->Refresh();
}

void StationWindow::StartStation() {
    StationSetup setup = m_strip->Setup();
    setup.order = m_orders->Chosen();
    // A .cfg file that did not load keeps its own message, not a request to choose one; an
    // order brings its block from the store.
    const QString problem = setup.order.empty() ? m_strip->ConfigProblem() : QString();
    const QString refusal = problem.isEmpty() ? m_controller.Start(setup) : problem;
    m_strip->ShowMessage(refusal);
    if (refusal.isEmpty()) {
        statusBar()->showMessage(QStringLiteral("Running: plug modules in."));
    }
}

void StationWindow::StopStation() {
    m_controller.Stop();
    if (m_controller.Finishing()) {
        statusBar()->showMessage(QStringLiteral("Stopped: the modules being programmed finish."));
    } else {
        statusBar()->showMessage(QStringLiteral("Stopped."));
    }
}

void StationWindow::closeEvent(QCloseEvent* event) {
    if (MayClose()) {
        event->accept();
    } else {
        event->ignore();
    }
}

// Closing while the station runs stops it; the modules in flight finish before the window
// goes, and the operator hears how many there are before saying so.
bool StationWindow::MayClose() {
    if (!m_controller.Running() && !m_controller.Finishing()) {
        return true;
    }
    const std::size_t inFlight = m_controller.InFlight();
    const QString modules =
        inFlight == 0   ? QStringLiteral("No module is being programmed now.")
        : inFlight == 1 ? QStringLiteral(
                              "1 module is being programmed now; it finishes before the window "
                              "closes.")
                        : QStringLiteral(
                              "%1 modules are being programmed now; they finish before the "
                              "window closes.")
                              .arg(inFlight);
    QMessageBox box(QMessageBox::Question, QStringLiteral("lvcfg-station"),
                    QStringLiteral("The station is running. Stop it and close?"),
                    QMessageBox::Cancel, this);
    box.setInformativeText(modules);
    QPushButton* close = box.addButton(QStringLiteral("Stop and close"), QMessageBox::AcceptRole);
    box.setDefaultButton(QMessageBox::Cancel);
    box.exec();
    if (box.clickedButton() != close) {
        return false;
    }
    StopStation();
    return true;
}
