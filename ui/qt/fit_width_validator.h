#pragma once

#include <QValidator>

class QLineEdit;

// Refuses typed text that would not fit the edit field's visible width: the port box's edit
// field does not scroll horizontally, so only as much text as fits can be typed. Text set by
// the program is not checked.
class FitWidthValidator : public QValidator {
  public:
    explicit FitWidthValidator(QLineEdit& edit);

    State validate(QString& input, int& position) const override;

  private:
    QLineEdit& m_edit;
};
