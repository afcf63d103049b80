#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "store/order_row.h"

class QComboBox;
class QLabel;

// The work order a station programs: none (the .cfg file chosen above) or one of the store's
// open orders, whose block and count come from the store. Once the order is complete it says
// ORDER COMPLETE in large letters until another run starts.
class OrderPicker : public QWidget {
    Q_OBJECT

  public:
    explicit OrderPicker(QWidget* parent = nullptr);

    // The orders to offer: the open ones, with their counts.
    void SetOrders(const std::vector<OrderRow>& orders);
    // The order chosen; empty: none.
    [[nodiscard]] std::string Chosen() const;
    void SetRunning(bool running);
    void ShowComplete(const QString& order);

  signals:
    void refreshRequested();

  private:
    QComboBox* m_orders;
    QLabel* m_complete;
};
