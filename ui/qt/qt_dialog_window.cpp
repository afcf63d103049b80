#include "ui/qt/qt_dialog_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QLineEdit>
#include <QShortcut>
#include <QSocketNotifier>
#include <algorithm>

#include "ui/framework/dialog_template.h"
#include "ui/framework/dialog_units.h"
#include "ui/qt/app_icon_qt.h"
#include "ui/qt/file_chooser_qt.h"
#include "ui/qt/message_box_qt.h"
#include "ui/qt/template_widgets.h"

namespace {

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The template's face first. Where it is not installed, a face of the same kind: for a
// Chinese face one with the same proportions (Latin letters half as wide as Chinese ones,
// 6 pixels at 12, which the layout was measured with), for a Latin face a narrow sans.
// fontconfig fills in any glyph the chosen face lacks.
QFont TemplateFont(const DialogTemplate& dialogTemplate) {
    const QString face = FromUtf8(dialogTemplate.fontFace);
    const bool chineseFace =
        std::any_of(face.begin(), face.end(), [](QChar c) { return c.unicode() >= 0x2E80; });
    QStringList families{face};
    if (chineseFace) {
        families << QStringLiteral("SimSun") << QStringLiteral("NSimSun")
                 << QStringLiteral("WenQuanYi Zen Hei Mono");
    } else {
        families << QStringLiteral("DejaVu Sans Condensed") << QStringLiteral("Sans Serif");
    }
    QFont font;
    font.setFamilies(families);
    font.setPixelSize(FontPointsToPixels(dialogTemplate.fontPointSize));
    return font;
}

template <typename Widget>
Widget* As(QWidget* widget) {
    return qobject_cast<Widget*>(widget);
}

// Clicks (check boxes after they toggled) and the user's picks in a list become commands.
void ConnectNotifications(QWidget* widget, int id, DialogEvents& events) {
    if (auto* box = As<QCheckBox>(widget)) {
        QObject::connect(box, &QCheckBox::clicked, box, [box, id, &events] {
            if (box->checkState() != Qt::PartiallyChecked) {
                box->setTristate(false);
            }
            events.OnCommand(id, BN_CLICKED);
        });
    } else if (auto* button = As<QAbstractButton>(widget)) {
        QObject::connect(button, &QAbstractButton::clicked, button,
                         [id, &events] { events.OnCommand(id, BN_CLICKED); });
    } else if (auto* combo = As<QComboBox>(widget)) {
        QObject::connect(combo, &QComboBox::activated, combo,
                         [id, &events] { events.OnCommand(id, CBN_SELCHANGE); });
    }
}

}  // namespace

QtDialogWindow::QtDialogWindow(const DialogTemplate& dialogTemplate, DialogEvents& events,
                               QWidget* owner)
    : m_dialog(new TemplateDialog(events, owner)) {
    // A parentless dialog may be left off the taskbar; the program's window must not be.
    const Qt::WindowType type = owner == nullptr ? Qt::Window : Qt::Dialog;
    m_dialog->setWindowFlags(type | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                             Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    m_dialog->setWindowTitle(FromUtf8(dialogTemplate.caption));
    m_dialog->setFont(TemplateFont(dialogTemplate));
    BuildItems(dialogTemplate, events);
    FillInitialLists(dialogTemplate);
    InstallAccelerators(dialogTemplate);
    SetClientSize(
        {DialogUnitsToPixels(dialogTemplate.width), DialogUnitsToPixels(dialogTemplate.height)});
    // The native window exists before the dialog object initialises it, so that its frame is
    // known where the platform can tell it before the window is shown.
    m_dialog->winId();
}

QtDialogWindow::~QtDialogWindow() {
    delete m_dialog.data();
}

void QtDialogWindow::BuildItems(const DialogTemplate& dialogTemplate, DialogEvents& events) {
    QWidget* previousStop = nullptr;
    for (const DialogItem& item : dialogTemplate.items) {
        QWidget* widget = CreateItemWidget(item, *m_dialog);
        m_items.emplace_back(&item, widget);
        if (item.id != kNoId) {
            m_controls[item.id] = widget;
            ConnectNotifications(widget, item.id, events);
        }
        if (widget->focusPolicy() & Qt::TabFocus) {
            if (previousStop != nullptr) {
                QWidget::setTabOrder(previousStop, widget);
            }
            previousStop = widget;
        }
    }
}

void QtDialogWindow::FillInitialLists(const DialogTemplate& dialogTemplate) {
    for (const InitialList& list : dialogTemplate.lists) {
        auto* combo = As<QComboBox>(Control(list.id));
        if (combo == nullptr) {
            continue;
        }
        for (std::string_view item : list.items) {
            combo->addItem(FromUtf8(item));
        }
        // Lists start without a selection; the first load exchange chooses one.
        combo->setCurrentIndex(-1);
    }
}

void QtDialogWindow::InstallAccelerators(const DialogTemplate& dialogTemplate) {
    for (const Accelerator& accelerator : dialogTemplate.accelerators) {
        auto* button = As<QAbstractButton>(Control(accelerator.id));
        if (button == nullptr) {
            continue;
        }
        auto* shortcut = new QShortcut(QKeySequence(FromUtf8(accelerator.keys)), m_dialog);
        // As a click: nothing while the button is disabled (Auto Config) or out of sight.
        QObject::connect(shortcut, &QShortcut::activated, button, [button] {
            if (button->isEnabled() && !button->isHidden()) {
                button->click();
            }
        });
    }
}

QWidget* QtDialogWindow::Control(int id) const {
    auto found = m_controls.find(id);
    return found == m_controls.end() ? nullptr : found->second;
}

std::string QtDialogWindow::GetText(int id) const {
    QWidget* widget = Control(id);
    QString text;
    if (auto* edit = As<QLineEdit>(widget)) {
        text = edit->text();
    } else if (auto* combo = As<QComboBox>(widget)) {
        text = combo->currentText();
    } else if (auto* button = As<QAbstractButton>(widget)) {
        text = button->text();
    }
    return text.toStdString();
}

void QtDialogWindow::SetText(int id, const std::string& text) {
    QWidget* widget = Control(id);
    const QString value = QString::fromStdString(text);
    if (auto* edit = As<QLineEdit>(widget)) {
        edit->setText(value);
        edit->setCursorPosition(0);  // a long text shows its beginning
    } else if (auto* combo = As<QComboBox>(widget)) {
        if (combo->isEditable()) {
            combo->setEditText(value);
        } else {
            // A list without an edit field shows text only by selecting the matching item.
            const int index = combo->findText(value, Qt::MatchFixedString);
            if (index >= 0) {
                combo->setCurrentIndex(index);
            }
        }
    } else if (auto* button = As<QAbstractButton>(widget)) {
        button->setText(value);
    }
}

int QtDialogWindow::GetCheck(int id) const {
    auto* box = As<QCheckBox>(Control(id));
    if (box == nullptr) {
        return BST_UNCHECKED;
    }
    switch (box->checkState()) {
        case Qt::Checked:
            return BST_CHECKED;
        case Qt::PartiallyChecked:
            return BST_INDETERMINATE;
        default:
            return BST_UNCHECKED;
    }
}

void QtDialogWindow::SetCheck(int id, int state) {
    auto* box = As<QCheckBox>(Control(id));
    if (box == nullptr) {
        return;
    }
    // The indeterminate state can be shown, but the user's next click leaves it for good.
    box->setTristate(state == BST_INDETERMINATE);
    box->setCheckState(state == BST_CHECKED         ? Qt::Checked
                       : state == BST_INDETERMINATE ? Qt::PartiallyChecked
                                                    : Qt::Unchecked);
}

int QtDialogWindow::GetCurSel(int id) const {
    auto* combo = As<QComboBox>(Control(id));
    return combo == nullptr || combo->currentIndex() < 0 ? CB_ERR : combo->currentIndex();
}

void QtDialogWindow::SetCurSel(int id, int index) {
    if (auto* combo = As<QComboBox>(Control(id))) {
        combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
    }
}

int QtDialogWindow::GetCount(int id) const {
    auto* combo = As<QComboBox>(Control(id));
    return combo == nullptr ? CB_ERR : combo->count();
}

std::string QtDialogWindow::GetLBText(int id, int index) const {
    auto* combo = As<QComboBox>(Control(id));
    if (combo == nullptr || index < 0 || index >= combo->count()) {
        return {};
    }
    return combo->itemText(index).toStdString();
}

void QtDialogWindow::ResetContent(int id) {
    if (auto* combo = As<QComboBox>(Control(id))) {
        combo->clear();
    }
}

void QtDialogWindow::AddString(int id, const std::string& item) {
    if (auto* combo = As<QComboBox>(Control(id))) {
        const bool hadSelection = combo->currentIndex() >= 0;
        combo->addItem(QString::fromStdString(item));
        // Appending to an empty list must not select the new item.
        if (!hadSelection) {
            combo->setCurrentIndex(-1);
        }
    }
}

void QtDialogWindow::EnableControl(int id, bool enable) {
    if (QWidget* widget = Control(id)) {
        widget->setEnabled(enable);
    }
}

bool QtDialogWindow::IsControlEnabled(int id) const {
    QWidget* widget = Control(id);
    return widget != nullptr && widget->isEnabled();
}

void QtDialogWindow::SetFocus(int id) {
    // Qt would hand the focus to a hidden control as soon as it is shown again.
    if (QWidget* widget = Control(id); widget != nullptr && !widget->isHidden()) {
        widget->setFocus(Qt::OtherFocusReason);
    }
}

void QtDialogWindow::SelectAllText(int id) {
    QWidget* widget = Control(id);
    if (auto* edit = As<QLineEdit>(widget)) {
        edit->selectAll();
    } else if (auto* combo = As<QComboBox>(widget); combo != nullptr && combo->isEditable()) {
        combo->lineEdit()->selectAll();
    }
}

int QtDialogWindow::MessageBoxWithDetails(const std::string& text, const std::string& caption,
                                          unsigned type, const std::string& details) {
    return RunMessageBox(m_dialog, text, caption, type, details);
}

CRect QtDialogWindow::GetWindowRect() const {
    const QRect outer = m_dialog->frameGeometry();
    if (!m_reportedFrame) {
        m_reportedFrame = outer.size() - m_dialog->size();
    }
    return {outer.left(), outer.top(), outer.left() + outer.width(), outer.top() + outer.height()};
}

void QtDialogWindow::SetWindowSize(int width, int height) {
    SetClientSize(QSize(width, height) - m_reportedFrame.value_or(QSize(0, 0)));
}

void QtDialogWindow::SetClientSize(QSize size) {
    // Fixed size: no sizing border, and the window manager offers no maximise.
    const QSize client = size.expandedTo(QSize(1, 1));
    m_dialog->setFixedSize(client);
    for (const auto& [item, widget] : m_items) {
        const bool inside = IsItemInClientArea(*item, client.width(), client.height());
        if (widget->isHidden() == inside) {
            widget->setHidden(!inside);
        }
    }
}

void QtDialogWindow::AppendSystemMenu(unsigned commandId, const std::string& text) {
    m_dialog->AppendWindowMenuItem(commandId, QString::fromStdString(text));
}

void QtDialogWindow::SetIcon(int iconId, bool /*big*/) {
    // One icon carries every size; the window system picks the large and the small image. The
    // small one asked for after the large one is the same icon: it is not handed over again.
    if (iconId == m_iconId) {
        return;
    }
    m_iconId = iconId;
    m_dialog->setWindowIcon(LoadAppIcon(iconId));
}

std::optional<std::string> QtDialogWindow::ChooseFile(const FileChooserRequest& request) {
    return RunFileChooser(m_dialog, request);
}

void QtDialogWindow::WatchReadable(int fd, std::function<void()> onReadable) {
    // Delivered by every event loop, the nested ones of boxes and choosers included.
    auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, m_dialog);
    QObject::connect(notifier, &QSocketNotifier::activated, m_dialog,
                     [callback = std::move(onReadable)] { callback(); });
}

int QtDialogWindow::RunModalLoop() {
    m_dialog->FocusFirstTabStopUnlessFocused();
    return m_dialog->RunModal();
}

void QtDialogWindow::EndModalLoop(int result) {
    m_dialog->EndModal(result);
}
