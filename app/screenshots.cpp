// Writes pictures of the windows as they are built: the main window shrunk (as it starts) and
// with the advanced panel shown (with a long status text), the ACT Pin list opened, a short
// error box and the About box. Run with
// QT_QPA_PLATFORM=offscreen; the one argument is the folder to write into (default "docs").

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

#include "model/control_ids.h"
#include "ui/about_dlg.h"
#include "ui/lvcfg_dlg.h"
#include "ui/qt/qt_backend.h"
#include "ui/qt/qt_dialog_window.h"

namespace {

QtDialogWindow& QtWindow(CDialog& dialog) {
    return dynamic_cast<QtDialogWindow&>(*dialog.Window());
}

// The offscreen platform draws no window frame. A box's picture gets a plain title bar over
// it, as a window manager draws one: the icon, the caption in a bold face and a close button
// at the right; a caption wider than the room left is cut short with an ellipsis.
QPixmap WithTitleBar(QWidget& widget) {
    const QPixmap client = widget.grab();
    constexpr int kBarHeight = 26;
    constexpr int kIconAndButtons = 80;
    QPixmap framed(client.width(), client.height() + kBarHeight);
    framed.fill(QColor(0xDD, 0xDD, 0xDD));
    QPainter painter(&framed);
    QFont title = widget.font();
    title.setBold(true);
    painter.setFont(title);
    const QString caption = QFontMetrics(title).elidedText(widget.windowTitle(), Qt::ElideMiddle,
                                                           client.width() - kIconAndButtons);
    painter.drawText(QRect(0, 0, client.width(), kBarHeight), Qt::AlignCenter, caption);
    painter.drawText(QRect(client.width() - kBarHeight, 0, kBarHeight, kBarHeight), Qt::AlignCenter,
                     QStringLiteral("\u00D7"));
    painter.drawPixmap(0, kBarHeight, client);
    return framed;
}

bool Save(QWidget& widget, const QDir& folder, const char* name, bool titleBar = false) {
    QApplication::processEvents();
    const QString path = folder.filePath(QString::fromLatin1(name));
    const bool saved = (titleBar ? WithTitleBar(widget) : widget.grab()).save(path);
    std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(path));
    return saved;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs"));
    QtBackend backend;
    backend.SetApplicationTitle("lvcfg");

    CLVCfgDlg dlg(backend);
    if (!dlg.Create()) {
        return 1;
    }
    QtDialogWindow& main = QtWindow(dlg);
    main.Dialog()->show();
    bool ok = Save(*main.Dialog(), folder, "main-window.png");

    auto* advanced = qobject_cast<QPushButton*>(main.Control(IDC_ADVANCED));
    advanced->click();
    // The widest list item and a status text longer than its line, as after a refused file.
    main.SetCurSel(IDC_RF_BAUD_MIN, 4);
    main.SetText(IDC_STATUS, "The configuration block verification word does not match!");
    ok = Save(*main.Dialog(), folder, "main-window-advanced.png") && ok;

    auto* actPin = qobject_cast<QComboBox*>(main.Control(IDC_ACT_PIN));
    actPin->showPopup();
    ok = Save(*actPin->view()->window(), folder, "act-pin-list.png") && ok;
    actPin->hidePopup();

    // A short error box: its caption stands whole above its text.
    QTimer::singleShot(0, [&ok, &folder] {
        QWidget* box = QApplication::activeModalWidget();
        if (box == nullptr) {
            ok = false;
            return;
        }
        ok = Save(*box, folder, "message-box.png", true) && ok;
        box->close();
    });
    main.MessageBox("Please choose a serial COM port!", "Lumivaro Configure Tool", MB_ICONERROR);

    CAboutDlg about(backend, &dlg);
    if (!about.Create()) {
        return 1;
    }
    QtWindow(about).Dialog()->show();
    ok = Save(*QtWindow(about).Dialog(), folder, "about-box.png", true) && ok;
    return ok ? 0 : 1;
}
