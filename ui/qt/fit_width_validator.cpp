#include "ui/qt/fit_width_validator.h"

#include <QFontMetrics>
#include <QLineEdit>

FitWidthValidator::FitWidthValidator(QLineEdit& edit) : QValidator(&edit), m_edit(edit) {}

QValidator::State FitWidthValidator::validate(QString& input, int& /*position*/) const {
    // The line edit keeps a small margin on both sides of its text.
    constexpr int kTextMargin = 4;
    const int room = m_edit.contentsRect().width() - kTextMargin;
    return QFontMetrics(m_edit.font()).horizontalAdvance(input) <= room ? Acceptable : Invalid;
}
