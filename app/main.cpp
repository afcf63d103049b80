#include <QApplication>

#include <clocale>

#include "app/lvcfg_app.h"
#include "ui/qt/qt_backend.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // QApplication takes the process locale from the environment; the program's own texts
    // (range warnings, "%d.%d" versions) are formatted with a full stop whatever the user's
    // language, as the module's tools always have.
    std::setlocale(LC_NUMERIC, "C");
    QtBackend backend;
    return theApp.Run(backend, argc > 0 ? argv[0] : "lvcfg");
}
