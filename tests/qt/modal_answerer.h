#pragma once

#include <QString>
#include <functional>

class QWidget;

// Answers the next modal window that opens while some other code runs its loop: a timer,
// running inside that nested loop, waits for a modal window other than `besides` to become
// the active modal widget and hands it to `answer` (the pattern of Qt's own ExecCloseHelper).
// Gives up after about five seconds so that a missing box fails the test instead of hanging.
void AnswerNextModal(std::function<void(QWidget&)> answer, QWidget* besides = nullptr);

// A message box as the user saw it.
struct SeenMessageBox {
    bool seen = false;
    QString caption;
    QString text;
    int icon = 0;  // QMessageBox::Icon
};

// Answers the next message box with its OK button and records what it showed.
void ClickOkInNextMessageBox(SeenMessageBox& seen, QWidget* besides = nullptr);
