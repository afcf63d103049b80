#include "ui/qt/message_box_qt.h"

#include <QMessageBox>

#include "ui/framework/dialog_backend.h"

namespace {

constexpr unsigned kIconMask = 0xF0;

QMessageBox::Icon IconForType(unsigned type) {
    switch (type & kIconMask) {
        case 0x10:
            return QMessageBox::Critical;
        case 0x20:
            return QMessageBox::Question;
        case 0x30:
            return QMessageBox::Warning;
        case 0x40:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

}  // namespace

int RunMessageBox(QWidget* owner, const std::string& text, const std::string& caption,
                  unsigned type, const std::string& details) {
    QMessageBox box(IconForType(type), QString::fromStdString(caption),
                    QString::fromStdString(text), QMessageBox::Ok, owner);
    // Report texts are plain: a '<' in a port name or a file path must not turn into markup.
    box.setTextFormat(Qt::PlainText);
    if (!details.empty()) {
        box.setDetailedText(QString::fromStdString(details));
    }
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    return IDOK;
}
