#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <algorithm>
#include <map>
#include <numeric>
#include <vector>

#include "model/control_ids.h"
#include "resources/about_dialog_template.h"
#include "resources/main_dialog_template.h"
#include "tests/support/recording_events.h"
#include "ui/qt/eliding_line_edit.h"
#include "ui/qt/qt_dialog_window.h"
#include "ui/qt/template_widgets.h"

namespace {

// The widgets of the template's items, in template order: the dialog's direct children
// without its own window menu.
std::vector<QWidget*> ItemWidgets(QWidget& dialog) {
    std::vector<QWidget*> widgets;
    for (QObject* child : dialog.children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget != nullptr && qobject_cast<QMenu*>(widget) == nullptr) {
            widgets.push_back(widget);
        }
    }
    return widgets;
}

bool IsDropDown(ItemKind kind) {
    return kind == ItemKind::DropDownList || kind == ItemKind::EditableDropDown;
}

// Checks that `widget` is of the item's kind and shows the item's text.
void ExpectKindAndText(const DialogItem& item, QWidget& widget) {
    const QString text =
        QString::fromUtf8(item.text.data(), static_cast<qsizetype>(item.text.size()));
    switch (item.kind) {
        case ItemKind::GroupBox: {
            auto* box = qobject_cast<QGroupBox*>(&widget);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->title(), text);
            break;
        }
        case ItemKind::LabelRight:
        case ItemKind::LabelCenter:
        case ItemKind::LabelLeft: {
            auto* label = qobject_cast<QLabel*>(&widget);
            ASSERT_NE(label, nullptr);
            EXPECT_EQ(label->text(), text);
            const Qt::Alignment horizontal = item.kind == ItemKind::LabelRight    ? Qt::AlignRight
                                             : item.kind == ItemKind::LabelCenter ? Qt::AlignHCenter
                                                                                  : Qt::AlignLeft;
            EXPECT_EQ(label->alignment() & Qt::AlignHorizontal_Mask, horizontal) << item.text;
            break;
        }
        case ItemKind::IconPicture: {
            auto* picture = qobject_cast<QLabel*>(&widget);
            ASSERT_NE(picture, nullptr);
            EXPECT_FALSE(picture->pixmap().isNull());
            break;
        }
        case ItemKind::PushButton:
        case ItemKind::DefPushButton: {
            auto* button = qobject_cast<QPushButton*>(&widget);
            ASSERT_NE(button, nullptr);
            EXPECT_EQ(button->text(), text);
            const bool isDefault = item.kind == ItemKind::DefPushButton;
            EXPECT_EQ(button->isDefault(), isDefault) << item.id;
            EXPECT_EQ(button->autoDefault(), isDefault) << item.id;
            break;
        }
        case ItemKind::CheckBox: {
            auto* box = qobject_cast<QCheckBox*>(&widget);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->text(), text);
            break;
        }
        case ItemKind::Edit:
        case ItemKind::ReadOnlyEdit: {
            auto* edit = qobject_cast<QLineEdit*>(&widget);
            ASSERT_NE(edit, nullptr);
            const bool readOnly = item.kind == ItemKind::ReadOnlyEdit;
            EXPECT_EQ(edit->isReadOnly(), readOnly) << item.id;
            EXPECT_EQ(edit->hasFrame(), !readOnly) << item.id;
            break;
        }
        case ItemKind::DropDownList:
        case ItemKind::EditableDropDown: {
            auto* combo = qobject_cast<QComboBox*>(&widget);
            ASSERT_NE(combo, nullptr);
            EXPECT_EQ(combo->isEditable(), item.kind == ItemKind::EditableDropDown) << item.id;
            break;
        }
    }
}

class TemplateWindow : public ::testing::TestWithParam<const DialogTemplate*> {
  protected:
    RecordingEvents events;
    QtDialogWindow window{*GetParam(), events, nullptr};
};

}  // namespace

TEST_P(TemplateWindow, BuildsEveryItemWithItsKindAndText) {
    const auto& items = GetParam()->items;
    const std::vector<QWidget*> widgets = ItemWidgets(*window.Dialog());
    ASSERT_EQ(widgets.size(), items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        SCOPED_TRACE(testing::Message()
                     << "item " << i << " " << items[i].text << " " << items[i].id);
        ExpectKindAndText(items[i], *widgets[i]);
        EXPECT_EQ(ControlIdOf(*widgets[i]), items[i].id);
        if (items[i].id != kNoId) {
            EXPECT_EQ(window.Control(items[i].id), widgets[i]);
            EXPECT_EQ(widgets[i]->objectName(), QStringLiteral("ctl%1").arg(items[i].id));
        }
    }
}

TEST_P(TemplateWindow, PlacesItemsAtTemplateRectanglesTimesOneAndAHalf) {
    const auto& items = GetParam()->items;
    const std::vector<QWidget*> widgets = ItemWidgets(*window.Dialog());
    ASSERT_EQ(widgets.size(), items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        const DialogItem& item = items[i];
        const QRect geometry = widgets[i]->geometry();
        SCOPED_TRACE(testing::Message() << item.text << " " << item.id);
        EXPECT_EQ(geometry.x(), (item.x * 3 + 1) / 2);
        EXPECT_EQ(geometry.y(), (item.y * 3 + 1) / 2);
        if (item.kind == ItemKind::CheckBox) {
            // A caption wider than the rectangle widens the box rather than shrinking its font.
            EXPECT_GE(geometry.width(), (item.width * 3 + 1) / 2);
        } else {
            EXPECT_EQ(geometry.width(), (item.width * 3 + 1) / 2);
        }
        if (IsDropDown(item.kind)) {
            // The template's height is the opened list's; the closed box keeps the platform's.
            auto* combo = qobject_cast<QComboBox*>(widgets[i]);
            EXPECT_EQ(geometry.height(), combo->sizeHint().height());
            EXPECT_GT(combo->maxVisibleItems(), 1);
        } else {
            EXPECT_EQ(geometry.height(), (item.height * 3 + 1) / 2);
        }
    }
}

TEST_P(TemplateWindow, IsFixedAtTheTemplateSizeWithoutMinimiseOrMaximise) {
    const QSize client((GetParam()->width * 3 + 1) / 2, (GetParam()->height * 3 + 1) / 2);
    EXPECT_EQ(window.Dialog()->size(), client);
    EXPECT_EQ(window.Dialog()->minimumSize(), client);
    EXPECT_EQ(window.Dialog()->maximumSize(), client);
    const Qt::WindowFlags flags = window.Dialog()->windowFlags();
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_EQ(window.Dialog()->windowTitle().toStdString(), std::string(GetParam()->caption));
}

TEST_P(TemplateWindow, TabOrderFollowsTemplateOrder) {
    std::vector<int> expected;
    for (const DialogItem& item : GetParam()->items) {
        if (item.id != kNoId) {
            expected.push_back(item.id);
        }
    }
    std::vector<int> chain;
    QWidget* first = window.Control(expected.front());
    QWidget* widget = first;
    do {
        const int id = ControlIdOf(*widget);
        if (id != kNoId && (widget->focusPolicy() & Qt::TabFocus)) {
            chain.push_back(id);
        }
        widget = widget->nextInFocusChain();
    } while (widget != first && chain.size() <= expected.size());
    EXPECT_EQ(chain, expected);
}

INSTANTIATE_TEST_SUITE_P(Templates, TemplateWindow,
                         ::testing::Values(&MainDialogTemplate(), &AboutDialogTemplate()),
                         [](const auto& info) {
                             return info.param->id == 102 ? std::string("MainWindow")
                                                          : std::string("AboutBox");
                         });

// A parentless dialog may be left off the taskbar; the program's window is a normal top-level
// window, and an owned one (the About box) a dialog in front of its owner.
TEST(TemplateWindowType, WithoutOwnerIsATopLevelWindowWithOwnerADialog) {
    RecordingEvents events;
    QtDialogWindow main(MainDialogTemplate(), events, nullptr);
    QtDialogWindow about(AboutDialogTemplate(), events, main.Dialog());
    EXPECT_EQ(main.Dialog()->windowType(), Qt::Window);
    EXPECT_EQ(about.Dialog()->windowType(), Qt::Dialog);
    EXPECT_EQ(about.Dialog()->parentWidget(), main.Dialog());
}

TEST(MainTemplateWindow, UsesEveryControlIdOnce) {
    RecordingEvents events;
    QtDialogWindow window(MainDialogTemplate(), events, nullptr);
    std::vector<int> ids;
    for (QWidget* widget : window.Dialog()->findChildren<QWidget*>()) {
        if (ControlIdOf(*widget) != kNoId) {
            ids.push_back(ControlIdOf(*widget));
        }
    }
    std::sort(ids.begin(), ids.end());
    std::vector<int> expected(64);
    std::iota(expected.begin(), expected.end(), 1000);
    EXPECT_EQ(ids, expected);
}

// Every item of every list shows whole in the closed box, left of the drop button.
TEST(MainTemplateWindow, EveryListItemFitsBesideTheDropButton) {
    RecordingEvents events;
    QtDialogWindow window(MainDialogTemplate(), events, nullptr);
    for (const InitialList& list : MainDialogLists()) {
        auto* combo = qobject_cast<QComboBox*>(window.Control(list.id));
        ASSERT_NE(combo, nullptr);
        if (combo->isEditable()) {
            continue;  // the port box scrolls
        }
        QStyleOptionComboBox option;
        option.initFrom(combo);
        option.editable = false;
        const QRect field = combo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                           QStyle::SC_ComboBoxEditField, combo);
        for (int i = 0; i < combo->count(); ++i) {
            EXPECT_LE(combo->fontMetrics().horizontalAdvance(combo->itemText(i)), field.width() - 1)
                << list.id << " " << combo->itemText(i).toStdString();
        }
    }
}

// Check boxes keep the window's font, and their captions fit inside the box and inside the
// frame around them.
TEST(MainTemplateWindow, CheckBoxCaptionsFitInTheWindowFont) {
    RecordingEvents events;
    QtDialogWindow window(MainDialogTemplate(), events, nullptr);
    QWidget& dialog = *window.Dialog();
    for (QCheckBox* box : dialog.findChildren<QCheckBox*>()) {
        SCOPED_TRACE(box->text().toStdString());
        EXPECT_EQ(box->font(), dialog.font());
        const QStyle& style = *box->style();
        const int needed = style.pixelMetric(QStyle::PM_IndicatorWidth, nullptr, box) +
                           style.pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, box) +
                           box->fontMetrics().horizontalAdvance(box->text());
        EXPECT_LE(needed, box->width());
        for (QGroupBox* group : dialog.findChildren<QGroupBox*>()) {
            if (group->geometry().contains(box->geometry().topLeft())) {
                EXPECT_LT(box->geometry().left() + needed, group->geometry().right());
            }
        }
    }
}

// A display field shows a text too long for it cut at the end with an ellipsis, and the whole
// text as its tooltip; a text that fits shows as it is, without tooltip.
TEST(MainTemplateWindow, LongStatusTextIsElidedWithTheWholeTextAsTooltip) {
    RecordingEvents events;
    QtDialogWindow window(MainDialogTemplate(), events, nullptr);
    auto* status = dynamic_cast<ElidingLineEdit*>(window.Control(IDC_STATUS));
    ASSERT_NE(status, nullptr);
    const std::string longText = "The configuration block verification word does not match!";
    window.SetText(IDC_STATUS, longText);
    EXPECT_EQ(window.GetText(IDC_STATUS), longText);
    EXPECT_TRUE(status->DisplayedText().endsWith(QChar(0x2026)))
        << status->DisplayedText().toStdString();
    EXPECT_LE(status->fontMetrics().horizontalAdvance(status->DisplayedText()), status->width());
    EXPECT_EQ(status->toolTip().toStdString(), longText);
    window.SetText(IDC_STATUS, "Succeed to read the module!");
    EXPECT_EQ(status->DisplayedText(), "Succeed to read the module!");
    EXPECT_TRUE(status->toolTip().isEmpty());
    window.SetText(IDC_TYPE, "UNKNOWN");
    EXPECT_EQ(dynamic_cast<ElidingLineEdit*>(window.Control(IDC_TYPE))->DisplayedText(), "UNKNOWN");
}

// The Chinese items need a face with CJK glyphs: the template face or its stand-in has them.
TEST(MainTemplateWindow, RendersTheChineseActPinItemsWithRealGlyphs) {
    RecordingEvents events;
    QtDialogWindow window(MainDialogTemplate(), events, nullptr);
    auto* combo = qobject_cast<QComboBox*>(window.Control(IDC_ACT_PIN));
    const QFontMetrics metrics(combo->font());
    for (int i = 0; i < combo->count(); ++i) {
        const QString item = combo->itemText(i);
        for (QChar c : item) {
            EXPECT_TRUE(metrics.inFontUcs4(c.unicode())) << item.toStdString();
        }
        EXPECT_GT(metrics.horizontalAdvance(item), 0);
    }
}
