#include "ui/qt/file_chooser_qt.h"

#include <QFile>
#include <QFileDialog>
#include <QStringList>

#include "ui/framework/dialog_backend.h"

void ConfigureFileChooser(QFileDialog& chooser, const FileChooserRequest& request) {
    // Qt's own chooser, because a platform one may refuse a name that does not exist in the
    // open variant or drop settings this program relies on.
    chooser.setOption(QFileDialog::DontUseNativeDialog, true);
    chooser.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    chooser.setFileMode(QFileDialog::AnyFile);
    chooser.setOption(QFileDialog::DontConfirmOverwrite, !request.save);

    QStringList filters;
    for (const FileChooserRequest::Filter& filter : request.filters) {
        filters << QString::fromStdString(filter.description + " (" + filter.pattern + ")");
    }
    chooser.setNameFilters(filters);
    if (!filters.isEmpty()) {
        chooser.selectNameFilter(filters.front());
    }
    chooser.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
    if (!request.initialName.empty()) {
        chooser.selectFile(QString::fromStdString(request.initialName));
    }
}

std::optional<std::string> RunFileChooser(QWidget* owner, const FileChooserRequest& request) {
    QFileDialog chooser(owner);
    ConfigureFileChooser(chooser, request);
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return QFile::encodeName(chooser.selectedFiles().front()).toStdString();
}
