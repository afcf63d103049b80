#include "ui/qt/compact_control_style.h"

#include <QApplication>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleOptionComboBox>

namespace {

class CompactControlProxy : public QProxyStyle {
  public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        constexpr int kCheckBoxCaptionGap = 3;
        if (metric == PM_CheckBoxLabelSpacing) {
            return kCheckBoxCaptionGap;
        }
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                         const QWidget* widget) const override {
        if (control != CC_ComboBox || (part != SC_ComboBoxArrow && part != SC_ComboBoxEditField)) {
            return QProxyStyle::subControlRect(control, option, part, widget);
        }
        // "76.8kbps" needs 48 of the 69 pixels of a 46-unit list.
        constexpr int kButtonWidth = 13;
        constexpr int kFrame = 2;
        const QRect box = option->rect;
        const QRect arrow(box.right() - kFrame - kButtonWidth + 1, box.top() + kFrame, kButtonWidth,
                          box.height() - 2 * kFrame);
        if (part == SC_ComboBoxArrow) {
            return visualRect(option->direction, box, arrow);
        }
        const QRect field(box.left() + kFrame, box.top() + kFrame,
                          arrow.left() - box.left() - kFrame, box.height() - 2 * kFrame);
        return visualRect(option->direction, box, field);
    }
};

}  // namespace

QStyle* CompactControlStyle() {
    static QPointer<QStyle> style;
    if (style.isNull()) {
        style = new CompactControlProxy();
        style->setParent(qApp);
    }
    return style;
}
