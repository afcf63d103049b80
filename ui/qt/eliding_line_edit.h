#pragma once

#include <QLineEdit>

// A read-only display field (the status line, the module's identity) that shows a text too
// long for it cut at the end with "…" instead of in the middle of a word, and offers the whole
// text as its tooltip. While it has the focus it shows the text as an edit does, so that it
// can still be selected and copied.
class ElidingLineEdit : public QLineEdit {
  public:
    explicit ElidingLineEdit(QWidget* parent);

    // The text as it is drawn without the focus.
    [[nodiscard]] QString DisplayedText() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    [[nodiscard]] int TextRoom() const;
    void UpdateToolTip();
};
