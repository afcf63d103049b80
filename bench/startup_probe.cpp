// Starts a window and ends the process as soon as the window has first been painted, so that
// a script can time the start from outside (bench/startup_ratio.py):
//   lvcfg_startup_probe window   the configuration window, started as lvcfg starts it
//   lvcfg_startup_probe plain    a plain Qt dialog with one Chinese label, for comparison
// The window watches arrivals through a real udev monitor, as on a desktop where udev runs,
// also where no udev daemon does (a container): it is told the daemon's folder is elsewhere.
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <QVBoxLayout>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "link/arrival/udev_device_source.h"
#include "ui/lvcfg_dlg.h"
#include "ui/qt/qt_backend.h"

namespace {

// Ends the process once the first window has been painted and its picture handed to the
// window system (the flush follows the paint before the event loop runs on). A message box
// first means the window could not start as on a desktop: the run does not count.
class FirstPaint : public QObject {
  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() != QEvent::Paint || widget == nullptr || !widget->isWindow()) {
            return false;
        }
        if (qobject_cast<QMessageBox*>(widget) != nullptr) {
            std::fprintf(stderr, "a box came first: %s\n",
                         qPrintable(qobject_cast<QMessageBox*>(widget)->text()));
            std::_Exit(2);
        }
        QTimer::singleShot(0, [] { std::_Exit(0); });
        return false;
    }
};

int PlainDialog() {
    QDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QStringLiteral("\u8bf7\u8f93\u5165\u4e00\u4e2a\u6574\u6570")));
    dialog.show();
    return dialog.exec();
}

// A folder that looks like the udev daemon's, so that the monitor is set up as it is where the
// daemon runs.
std::string UdevRunFolder() {
    char folder[] = "/tmp/lvcfg-probe-udev-XXXXXX";
    if (::mkdtemp(folder) == nullptr) {
        return "/run/udev";
    }
    std::ofstream(std::string(folder) + "/control");
    return folder;
}

// As CLVCfgApp::InitInstance starts the program.
int MainWindow() {
    std::setlocale(LC_NUMERIC, "C");
    QtBackend backend;
    backend.SetApplicationTitle("lvcfg");
    const std::string runFolder = UdevRunFolder();
    LVCfgDlgServices services;
    services.deviceEvents = [&runFolder]() -> std::unique_ptr<DeviceEventSource> {
        UdevDeviceSource::Setup setup = UdevDeviceSource::Create(runFolder);
        std::filesystem::remove_all(runFolder);
        return std::move(setup.source);
    };
    CLVCfgDlg dlg(backend, services);
    return dlg.DoModal();
}

}  // namespace

int main(int argc, char** argv) {
    const bool plain = argc > 1 && std::strcmp(argv[1], "plain") == 0;
    QApplication application(argc, argv);
    FirstPaint firstPaint;
    application.installEventFilter(&firstPaint);
    return plain ? PlainDialog() : MainWindow();
}
