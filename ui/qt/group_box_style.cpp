#include "ui/qt/group_box_style.h"

#include <qdrawutil.h>
#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleOptionGroupBox>

namespace {

class GroupBoxProxy : public QProxyStyle {
  public:
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget) const override {
        const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
        if (control != CC_GroupBox || box == nullptr) {
            QProxyStyle::drawComplexControl(control, option, painter, widget);
            return;
        }
        const QRect label = LabelRect(*box);
        // An etched frame; styles place their own group frame below the caption whatever
        // rectangle they are given, so it is drawn here.
        const QRect frame = box->rect.adjusted(0, label.center().y() - box->rect.top(), 0, 0);
        painter->save();
        // The caption interrupts the top line.
        painter->setClipRegion(QRegion(box->rect) - label.adjusted(-2, 0, 2, 0));
        qDrawShadeRect(painter, frame, box->palette, true, 1, 0);
        painter->restore();
        proxy()->drawItemText(painter, label, Qt::AlignLeft | Qt::AlignVCenter, box->palette,
                              box->state & State_Enabled, box->text, QPalette::WindowText);
    }

  private:
    static QRect LabelRect(const QStyleOptionGroupBox& box) {
        const QFontMetrics metrics = box.fontMetrics;
        constexpr int kIndent = 6;
        return {box.rect.left() + kIndent, box.rect.top(), metrics.horizontalAdvance(box.text),
                metrics.height()};
    }
};

}  // namespace

QStyle* GroupBoxStyle() {
    static QPointer<QStyle> style;
    if (style.isNull()) {
        style = new GroupBoxProxy();
        style->setParent(qApp);
    }
    return style;
}
