#include "ui/qt/template_widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVariant>
#include <algorithm>

#include "ui/framework/dialog_units.h"
#include "ui/qt/app_icon_qt.h"
#include "ui/qt/compact_control_style.h"
#include "ui/qt/eliding_line_edit.h"
#include "ui/qt/group_box_style.h"

namespace {

QString Text(const DialogItem& item) {
    return QString::fromUtf8(item.text.data(), static_cast<qsizetype>(item.text.size()));
}

QRect PixelRect(const DialogItem& item) {
    return {DialogUnitsToPixels(item.x), DialogUnitsToPixels(item.y),
            DialogUnitsToPixels(item.width), DialogUnitsToPixels(item.height)};
}

// Where the template's face is missing, its stand-in may run wider than the text the
// rectangle was made for. Such a static text is drawn a pixel or two smaller rather than cut.
void FitStaticText(QWidget& widget, const QString& text, int room) {
    constexpr int kSmallestPixelSize = 9;
    QFont font = widget.font();
    while (QFontMetrics(font).horizontalAdvance(text) > room &&
           font.pixelSize() > kSmallestPixelSize) {
        font.setPixelSize(font.pixelSize() - 1);
    }
    if (font != widget.font()) {
        widget.setFont(font);
    }
}

QWidget* CreateLabel(const DialogItem& item, QWidget& parent, Qt::Alignment horizontal) {
    auto* label = new QLabel(Text(item), &parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(horizontal | Qt::AlignTop);
    FitStaticText(*label, label->text(), PixelRect(item).width());
    return label;
}

QWidget* CreateCheckBox(const DialogItem& item, QWidget& parent) {
    auto* box = new QCheckBox(Text(item), &parent);
    box->setStyle(CompactControlStyle());
    return box;
}

// A check box keeps the font of its neighbours. Where the stand-in face runs its caption
// wider than the rectangle, the box reaches further right instead, as far as the caption
// needs (the template leaves room up to the frame around it).
void PlaceCheckBox(QCheckBox& box, const DialogItem& item) {
    QRect rect = PixelRect(item);
    box.ensurePolished();
    const QStyle& style = *box.style();
    const int needed = style.pixelMetric(QStyle::PM_IndicatorWidth, nullptr, &box) +
                       style.pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, &box) +
                       box.fontMetrics().horizontalAdvance(box.text()) + 1;
    rect.setWidth(std::max(rect.width(), needed));
    box.setGeometry(rect);
}

QWidget* CreateButton(const DialogItem& item, QWidget& parent, bool isDefault) {
    auto* button = new QPushButton(Text(item), &parent);
    // Enter is routed by the dialog itself; a button is default only where the template says.
    button->setAutoDefault(isDefault);
    button->setDefault(isDefault);
    return button;
}

QWidget* CreateEdit(QWidget& parent, bool readOnly) {
    QLineEdit* edit = readOnly ? new ElidingLineEdit(&parent) : new QLineEdit(&parent);
    if (readOnly) {
        edit->setFrame(false);
        // A display field sits on the dialog's own background, like a label that can be copied.
        QPalette palette = edit->palette();
        palette.setColor(QPalette::Base, palette.color(QPalette::Window));
        edit->setPalette(palette);
    }
    return edit;
}

QWidget* CreateIcon(const DialogItem& item, QWidget& parent) {
    auto* picture = new QLabel(&parent);
    const QRect rect = PixelRect(item);
    picture->setPixmap(LoadAppIcon(item.iconId).pixmap(rect.size()));
    picture->setAlignment(Qt::AlignCenter);
    return picture;
}

QComboBox* CreateDropDown(QWidget& parent, bool editable) {
    auto* combo = new QComboBox(&parent);
    combo->setStyle(CompactControlStyle());
    combo->setEditable(editable);
    if (editable) {
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setCompleter(nullptr);
        // The port box scrolls: device paths such as /dev/ttyUSB0 are longer than it is wide.
    }
    return combo;
}

// The template gives a drop-down the height of its opened list; the closed box keeps the
// platform's height, and the list shows as many items as fit below it.
void PlaceDropDown(QComboBox& combo, const DialogItem& item) {
    const QRect rect = PixelRect(item);
    combo.ensurePolished();
    const int closedHeight = combo.sizeHint().height();
    combo.setGeometry(rect.x(), rect.y(), rect.width(), closedHeight);
    const int itemHeight = std::max(1, combo.fontMetrics().height() + 2);
    combo.setMaxVisibleItems(std::max(1, (rect.height() - closedHeight) / itemHeight));
}

QWidget* CreateWidget(const DialogItem& item, QWidget& parent) {
    switch (item.kind) {
        case ItemKind::GroupBox: {
            auto* box = new QGroupBox(Text(item), &parent);
            box->setStyle(GroupBoxStyle());
            return box;
        }
        case ItemKind::LabelRight:
            return CreateLabel(item, parent, Qt::AlignRight);
        case ItemKind::LabelCenter:
            return CreateLabel(item, parent, Qt::AlignHCenter);
        case ItemKind::LabelLeft:
            return CreateLabel(item, parent, Qt::AlignLeft);
        case ItemKind::IconPicture:
            return CreateIcon(item, parent);
        case ItemKind::PushButton:
            return CreateButton(item, parent, false);
        case ItemKind::DefPushButton:
            return CreateButton(item, parent, true);
        case ItemKind::CheckBox:
            return CreateCheckBox(item, parent);
        case ItemKind::Edit:
            return CreateEdit(parent, false);
        case ItemKind::ReadOnlyEdit:
            return CreateEdit(parent, true);
        case ItemKind::DropDownList:
            return CreateDropDown(parent, false);
        case ItemKind::EditableDropDown:
            return CreateDropDown(parent, true);
    }
    return nullptr;
}

}  // namespace

QWidget* CreateItemWidget(const DialogItem& item, QWidget& parent) {
    QWidget* widget = CreateWidget(item, parent);
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        PlaceDropDown(*combo, item);
    } else if (auto* box = qobject_cast<QCheckBox*>(widget)) {
        PlaceCheckBox(*box, item);
    } else {
        widget->setGeometry(PixelRect(item));
    }
    if (item.id != kNoId) {
        widget->setProperty(kControlIdProperty, item.id);
        widget->setObjectName(QStringLiteral("ctl%1").arg(item.id));
    }
    return widget;
}

int ControlIdOf(const QWidget& widget) {
    const QVariant id = widget.property(kControlIdProperty);
    return id.isValid() ? id.toInt() : kNoId;
}
