#include "ui/station/shared_splitter.h"

#include <algorithm>
#include <numeric>
#include <utility>

SharedSplitter::SharedSplitter(Qt::Orientation orientation, std::vector<int> shares,
                               QWidget* parent)
    : QSplitter(orientation, parent), m_shares(std::move(shares)) {
    connect(this, &QSplitter::splitterMoved, this, [this] { m_moved = true; });
}

void SharedSplitter::resizeEvent(QResizeEvent* event) {
    QSplitter::resizeEvent(event);
    if (m_moved) {
        return;
    }
    const int length = orientation() == Qt::Vertical ? height() : width();
    const int parts = std::accumulate(m_shares.begin(), m_shares.end(), 0);
    QList<int> sizes;
    for (const int share : m_shares) {
        sizes.append(length * share / std::max(1, parts));
    }
    setSizes(sizes);
}
