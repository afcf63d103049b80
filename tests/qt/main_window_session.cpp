#include "main_window_session.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <utility>

#include "model/control_ids.h"

MainWindowSession::MainWindowSession(LVCfgDlgServices services)
    : dlg(backend, std::move(services)) {
    backend.SetApplicationTitle("lvcfg");
}

int MainWindowSession::Run(std::function<void()> script) {
    QTimer::singleShot(0, qApp, [this, script = std::move(script)] {
        window = dynamic_cast<QtDialogWindow*>(dlg.Window());
        ASSERT_NE(window, nullptr);
        script();
    });
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, qApp, [this] { dlg.EndDialog(kSessionTimedOut); });
    guard.start(20000);
    return dlg.DoModal();
}

QWidget& MainWindowSession::Control(int id) {
    auto* control = Dialog().findChild<QWidget*>(QStringLiteral("ctl%1").arg(id));
    EXPECT_NE(control, nullptr) << "no control " << id;
    return control != nullptr ? *control : Dialog();
}

QLineEdit& MainWindowSession::EditorOf(int id) {
    QWidget& control = Control(id);
    QLineEdit* edit = qobject_cast<QLineEdit*>(&control);
    if (auto* combo = qobject_cast<QComboBox*>(&control); combo != nullptr) {
        edit = combo->lineEdit();
    }
    EXPECT_NE(edit, nullptr) << "control " << id << " takes no typing";
    return edit != nullptr ? *edit : *Dialog().findChild<QLineEdit*>();
}

void MainWindowSession::Click(int id) {
    QTest::mouseClick(&Control(id), Qt::LeftButton);
}

void MainWindowSession::Type(int id, const QString& text) {
    QLineEdit& edit = EditorOf(id);
    edit.setFocus();
    edit.selectAll();
    QTest::keyClick(&edit, Qt::Key_Delete);
    QTest::keyClicks(&edit, text);
}

void MainWindowSession::Key(int id, Qt::Key key) {
    QTest::keyClick(&Control(id), key);
}

void MainWindowSession::Quit() {
    // Window shortcuts act only in the active window; the script may run before the window
    // system has activated the dialog it just showed.
    Dialog().activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&Dialog()));
    QWidget* focus = Dialog().focusWidget();
    QTest::keyClick(focus != nullptr ? focus : &Dialog(), Qt::Key_Q, Qt::ControlModifier);
}

std::string MainWindowSession::Shown(int id) {
    QWidget& control = Control(id);
    QString text;
    if (auto* edit = qobject_cast<QLineEdit*>(&control)) {
        text = edit->text();
    } else if (auto* combo = qobject_cast<QComboBox*>(&control)) {
        text = combo->currentText();
    } else if (auto* label = qobject_cast<QLabel*>(&control)) {
        text = label->text();
    } else if (auto* button = qobject_cast<QAbstractButton*>(&control)) {
        text = button->text();
    }
    return text.toStdString();
}

bool MainWindowSession::WaitForStatus(const QString& text, int limitMilliseconds) {
    auto* status = qobject_cast<QLineEdit*>(&Control(IDC_STATUS));
    if (status == nullptr) {
        return false;
    }
    if (status->text() == text) {
        return true;
    }
    QEventLoop loop;
    const QMetaObject::Connection watch = QObject::connect(status, &QLineEdit::textChanged, &loop,
                                                           [&loop, &text](const QString& now) {
                                                               if (now == text) {
                                                                   loop.exit(1);
                                                               }
                                                           });
    QTimer::singleShot(limitMilliseconds, &loop, [&loop] { loop.exit(0); });
    const bool reached = loop.exec() == 1;
    QObject::disconnect(watch);
    return reached;
}
