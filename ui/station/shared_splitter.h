#pragma once

#include <QSplitter>
#include <vector>

// A splitter that shares its length between its parts in fixed proportions whatever the
// window's size, until a person drags it: then their choice holds.
class SharedSplitter : public QSplitter {
  public:
    SharedSplitter(Qt::Orientation orientation, std::vector<int> shares, QWidget* parent = nullptr);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    const std::vector<int> m_shares;
    bool m_moved = false;
};
