#include "ui/station/order_picker.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

OrderPicker::OrderPicker(QWidget* parent)
    : QWidget(parent), m_orders(new QComboBox), m_complete(new QLabel) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(QStringLiteral("Work &order:"));
    label->setBuddy(m_orders);
    auto* refresh = new QPushButton(QStringLiteral("Refresh orders"));
    m_orders->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    QFont big = m_complete->font();
    big.setPointSizeF(big.pointSizeF() * 2);
    big.setBold(true);
    m_complete->setFont(big);
    m_complete->hide();
    layout->addWidget(label);
    layout->addWidget(m_orders);
    layout->addWidget(refresh);
    layout->addWidget(m_complete, 1);
    layout->addStretch();
    connect(refresh, &QPushButton::clicked, this, &OrderPicker::refreshRequested);
    SetOrders({});
}

void OrderPicker::SetOrders(const std::vector<OrderRow>& orders) {
    const QString chosen = m_orders->currentData().toString();
    m_orders->clear();
    m_orders->addItem(QStringLiteral("none: the .cfg file above"), QString());
    for (const OrderRow& order : orders) {
        if (order.state != OrderState::Open) {
            continue;
        }
        const QString name = QString::fromStdString(order.name);
        m_orders->addItem(QStringLiteral("%1 (%2 of %3 verified)")
                              .arg(name)
                              .arg(order.verified)
                              .arg(order.quantity),
                          name);
    }
    m_orders->setCurrentIndex(std::max(0, m_orders->findData(chosen)));
}

std::string OrderPicker::Chosen() const {
    return m_orders->currentData().toString().toStdString();
}

void OrderPicker::SetRunning(bool running) {
    m_orders->setEnabled(!running);
    if (running) {
        m_complete->hide();
    }
}

void OrderPicker::ShowComplete(const QString& order) {
    m_complete->setText(QStringLiteral("ORDER COMPLETE: %1").arg(order));
    m_complete->show();
}
