// Writes pictures of the windows as they are built: the main window shrunk (as it starts) and
// with the advanced panel shown, the ACT Pin list opened, and the About box. Run with
// QT_QPA_PLATFORM=offscreen; the one argument is the folder to write into (default "docs").

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <cstdio>

#include "ui/about_dlg.h"
#include "resources/control_ids.h"
#include "ui/lvcfg_dlg.h"
#include "ui/qt/qt_backend.h"
#include "ui/qt/qt_dialog_window.h"

namespace {

QtDialogWindow& QtWindow(CDialog& dialog) {
    return dynamic_cast<QtDialogWindow&>(*dialog.Window());
}

bool Save(QWidget& widget, const QDir& folder, const char* name) {
    QApplication::processEvents();
    const QString path = folder.filePath(QString::fromLatin1(name));
    const bool saved = widget.grab().save(path);
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
    ok = Save(*main.Dialog(), folder, "main-window-advanced.png") && ok;

    auto* actPin = qobject_cast<QComboBox*>(main.Control(IDC_ACT_PIN));
    actPin->showPopup();
    ok = Save(*actPin->view()->window(), folder, "act-pin-list.png") && ok;
    actPin->hidePopup();

    CAboutDlg about(backend, &dlg);
    if (!about.Create()) {
        return 1;
    }
    QtWindow(about).Dialog()->show();
    ok = Save(*QtWindow(about).Dialog(), folder, "about-box.png") && ok;
    return ok ? 0 : 1;
}
