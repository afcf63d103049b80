#include "ui/qt/eliding_line_edit.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

namespace {

// The gap QLineEdit keeps left of the text; on the right it only clips.
constexpr int kTextMargin = 2;

}  // namespace

ElidingLineEdit::ElidingLineEdit(QWidget* parent) : QLineEdit(parent) {
    setReadOnly(true);
    connect(this, &QLineEdit::textChanged, this, [this] { UpdateToolTip(); });
}

int ElidingLineEdit::TextRoom() const {
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QRect contents = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
    return contents.width() - kTextMargin;
}

QString ElidingLineEdit::DisplayedText() const {
    return fontMetrics().elidedText(text(), Qt::ElideRight, TextRoom());
}

void ElidingLineEdit::UpdateToolTip() {
    setToolTip(DisplayedText() != text() ? text() : QString());
}

void ElidingLineEdit::resizeEvent(QResizeEvent* event) {
    QLineEdit::resizeEvent(event);
    UpdateToolTip();
}

void ElidingLineEdit::paintEvent(QPaintEvent* event) {
    const QString shown = DisplayedText();
    if (hasFocus() || shown == text()) {
        QLineEdit::paintEvent(event);
        return;
    }
    QPainter painter(this);
    QStyleOptionFrame option;
    initStyleOption(&option);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &option, &painter, this);
    const QRect contents = style()
                               ->subElementRect(QStyle::SE_LineEditContents, &option, this)
                               .adjusted(kTextMargin, 0, 0, 0);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
    painter.drawText(contents, Qt::AlignLeft | Qt::AlignVCenter, shown);
}
