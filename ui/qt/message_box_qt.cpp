#include "ui/qt/message_box_qt.h"

#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

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

// Title bars elide a caption longer than the box is wide, and a box sizes itself to its text:
// "Lumivaro … gure Tool" over a short report. The width a title bar needs for the whole
// caption: its text in a title font (usually bolder and larger than the dialog's) and room for
// the window icon and the close button.
int CaptionWidth(const QMessageBox& box, const QString& caption) {
    QFont titleFont = box.font();
    titleFont.setBold(true);
    constexpr double kTitleFontScale = 1.2;
    constexpr int kTitleButtonsAndIcon = 120;
    const int text = QFontMetrics(titleFont).horizontalAdvance(caption);
    return static_cast<int>(text * kTitleFontScale) + kTitleButtonsAndIcon;
}

// QMessageBox computes its own size on showing; a spacer across its grid is the width it keeps.
void KeepAtLeastWidth(QMessageBox& box, int width) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (grid == nullptr) {
        return;
    }
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                  grid->rowCount(), 0, 1, grid->columnCount());
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
    KeepAtLeastWidth(box, CaptionWidth(box, box.windowTitle()));
    box.exec();
    return IDOK;
}
