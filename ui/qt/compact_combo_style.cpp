#include "ui/qt/compact_combo_style.h"

#include <QApplication>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleOptionComboBox>

namespace {

class CompactComboProxy : public QProxyStyle {
  public:
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                         const QWidget* widget) const override {
        if (control != CC_ComboBox || (part != SC_ComboBoxArrow && part != SC_ComboBoxEditField)) {
            return QProxyStyle::subControlRect(control, option, part, widget);
        }
        constexpr int kButtonWidth = 16;
        constexpr int kFrame = 2;
        const QRect box = option->rect;
        const QRect arrow(box.right() - kFrame - kButtonWidth + 1, box.top() + kFrame, kButtonWidth,
                          box.height() - 2 * kFrame);
        if (part == SC_ComboBoxArrow) {
            return visualRect(option->direction, box, arrow);
        }
        const QRect field(box.left() + kFrame + 1, box.top() + kFrame,
                          arrow.left() - box.left() - kFrame - 2, box.height() - 2 * kFrame);
        return visualRect(option->direction, box, field);
    }
};

}  // namespace

QStyle* CompactComboStyle() {
    static QPointer<QStyle> style;
    if (style.isNull()) {
        style = new CompactComboProxy();
        style->setParent(qApp);
    }
    return style;
}
