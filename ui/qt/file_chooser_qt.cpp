#include "ui/qt/file_chooser_qt.h"

#include <QFile>
#include <QFileDialog>
#include <QStringList>

#include "ui/framework/dialog_backend.h"

namespace {

// The chooser's form of a filter: "Description (pattern)", or the description alone where it
// already ends with the pattern in parentheses, so that the pattern is not shown twice.
QString NameFilter(const FileChooserRequest::Filter& filter) {
    const QString description = QString::fromStdString(filter.description);
    const QString pattern = QString::fromStdString(filter.pattern);
    if (description.endsWith(QLatin1Char('(') + pattern + QLatin1Char(')'))) {
        return description;
    }
    return description + QStringLiteral(" (") + pattern + QLatin1Char(')');
}

// The extension a filter's single pattern names ("*.cfg" gives "cfg"; "*.*" gives none).
QString ExtensionOf(const std::string& pattern) {
    const QString text = QString::fromStdString(pattern);
    if (!text.startsWith(QStringLiteral("*.")) || text.contains(QLatin1Char(' '))) {
        return {};
    }
    const QString extension = text.mid(2);
    return extension.contains(QLatin1Char('*')) || extension.contains(QLatin1Char('?')) ? QString()
                                                                                        : extension;
}

}  // namespace

void ConfigureFileChooser(QFileDialog& chooser, const FileChooserRequest& request) {
    // Qt's own chooser, because a platform one may refuse a name that does not exist in the
    // open variant or drop settings this program relies on.
    chooser.setOption(QFileDialog::DontUseNativeDialog, true);
    chooser.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    chooser.setFileMode(QFileDialog::AnyFile);
    chooser.setOption(QFileDialog::DontConfirmOverwrite, !request.save);

    QStringList filters;
    QStringList extensions;
    for (const FileChooserRequest::Filter& filter : request.filters) {
        filters << NameFilter(filter);
        extensions << ExtensionOf(filter.pattern);
    }
    chooser.setNameFilters(filters);
    if (!filters.isEmpty()) {
        chooser.selectNameFilter(filters.front());
    }
    // A name typed without an extension takes the one of the selected filter, so that a
    // configuration saved as "station1" shows up under the configuration filter as
    // station1.cfg. A request that names its own default extension keeps it.
    if (!request.defaultExtension.empty() || extensions.isEmpty()) {
        chooser.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
    } else {
        chooser.setDefaultSuffix(extensions.front());
        QObject::connect(&chooser, &QFileDialog::filterSelected, &chooser,
                         [&chooser, filters, extensions](const QString& selected) {
                             const qsizetype index = filters.indexOf(selected);
                             chooser.setDefaultSuffix(index >= 0 ? extensions[index] : QString());
                         });
    }
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
