#include "ui/station/station_window.h"

#include <QScrollArea>
#include <QShortcut>
#include <QSplitter>
#include <QStatusBar>
#include <QVBoxLayout>

#include "ui/station/order_picker.h"
#include "ui/station/records_table.h"
#include "ui/station/setup_strip.h"
#include "ui/station/slot_grid.h"
#include "ui/station/station_controller.h"
#include "ui/station/throughput_panel.h"

namespace {

constexpr std::size_t kRecordsLoaded = 1000;
constexpr int kNoticeMs = 15000;
constexpr int kSlotAreaLines = 24;

}  // namespace

StationWindow::StationWindow(StationController& controller, QWidget* parent)
    : QMainWindow(parent),
      m_controller(controller),
      m_strip(new SetupStrip),
      m_slots(new SlotGrid),
      m_throughput(new ThroughputPanel),
      m_records(new RecordsTable),
      m_orders(new OrderPicker) {
    setWindowTitle(QStringLiteral("lvcfg-station"));
    auto* slotArea = new QScrollArea;
    slotArea->setWidget(m_slots);
    slotArea->setWidgetResizable(true);
    // Two rows of tiles at least: the slots are what a person looks at from a step away.
    slotArea->setMinimumHeight(fontMetrics().height() * kSlotAreaLines);
    auto* bottom = new QSplitter(Qt::Horizontal);
    bottom->addWidget(m_throughput);
    bottom->addWidget(m_records);
    auto* middle = new QSplitter(Qt::Vertical);
    middle->addWidget(slotArea);
    middle->addWidget(bottom);
    middle->setStretchFactor(0, 3);
    middle->setStretchFactor(1, 2);
    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
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
    m_strip->SetPoolFree(m_controller.PoolFree());
    m_orders->SetOrders(m_controller.Orders());
    LoadRecords();
}

void StationWindow::Connect() {
    connect(m_strip, &SetupStrip::startRequested, this, &StationWindow::StartStation);
    connect(m_strip, &SetupStrip::stopRequested, this, &StationWindow::StopStation);
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
    const QString refusal = m_controller.Start(setup);
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
