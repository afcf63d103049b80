#include "ui/qt/template_dialog.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>

#include "ui/framework/dialog_backend.h"

TemplateDialog::TemplateDialog(DialogEvents& events, QWidget* owner)
    : QDialog(owner), m_events(events), m_windowMenu(new QMenu(this)) {
    // The Menu key would otherwise open the context menu of the focused edit.
    for (const QKeySequence& keys :
         {QKeySequence(Qt::Key_Menu), QKeySequence(Qt::ALT | Qt::Key_Space)}) {
        auto* shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, this, [this] {
            const QWidget* focus = focusWidget();
            const QPoint at =
                focus != nullptr ? focus->mapTo(this, QPoint(0, focus->height())) : QPoint(0, 0);
            OpenWindowMenu(mapToGlobal(at));
        });
    }
    auto* quit = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), this);
    connect(quit, &QShortcut::activated, this, [this] { m_events.OnSysCommand(SC_CLOSE); });
}

void TemplateDialog::AppendWindowMenuItem(unsigned commandId, const QString& text) {
    m_windowMenu->addSeparator();
    QAction* item = m_windowMenu->addAction(text);
    item->setData(commandId);
    connect(item, &QAction::triggered, this,
            [this, commandId] { m_events.OnSysCommand(commandId); });
}

void TemplateDialog::OpenWindowMenu(const QPoint& globalPosition) {
    if (!m_windowMenu->isEmpty()) {
        m_windowMenu->popup(globalPosition);
    }
}

int TemplateDialog::RunModal() {
    if (m_earlyResult) {
        const int result = *m_earlyResult;
        m_earlyResult.reset();
        return result;
    }
    m_inModalLoop = true;
    const int result = exec();
    m_inModalLoop = false;
    return result;
}

void TemplateDialog::EndModal(int result) {
    if (!m_inModalLoop) {
        m_earlyResult = result;
        return;
    }
    m_ending = true;
    done(result);
    m_ending = false;
}

void TemplateDialog::FocusFirstTabStopUnlessFocused() {
    if (focusWidget() == nullptr) {
        focusNextChild();
    }
}

void TemplateDialog::reject() {
    // Reached from Escape: the dialog object decides.
    m_events.OnCommand(IDCANCEL, BN_CLICKED);
}

void TemplateDialog::keyPressEvent(QKeyEvent* event) {
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        RouteEnter();
        return;
    }
    if (plain && event->key() == Qt::Key_Escape) {
        m_events.OnCommand(IDCANCEL, BN_CLICKED);
        return;
    }
    QDialog::keyPressEvent(event);
}

// Enter clicks the push button that has the focus; anywhere else it is the OK command.
void TemplateDialog::RouteEnter() {
    if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
        if (button->isEnabled()) {
            button->click();
        }
        return;
    }
    m_events.OnCommand(IDOK, BN_CLICKED);
}

void TemplateDialog::closeEvent(QCloseEvent* event) {
    if (m_ending || !isVisible()) {
        event->accept();
        return;
    }
    event->ignore();
    m_events.OnSysCommand(SC_CLOSE);
}

void TemplateDialog::contextMenuEvent(QContextMenuEvent* event) {
    OpenWindowMenu(event->globalPos());
}
