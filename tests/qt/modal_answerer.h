#pragma once

#include <QPointer>
#include <QString>
#include <cstddef>
#include <functional>
#include <vector>

class QTimer;
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

// A modal window as it looked when it opened.
struct SeenModal {
    QString kind;  // the class: "QMessageBox", "QFileDialog", ...
    QString caption;
    QString text;  // a message box's text
    int icon = 0;  // a message box's QMessageBox::Icon
    // A file chooser's settings: QFileDialog::AcceptMode, the selected filter and the name
    // its name field offered.
    int acceptMode = -1;
    QString nameFilter;
    QString offeredName;
};

// Answers, in order, every modal window other than `besides` that opens while it lives: the
// n-th window goes to the n-th answer given with Then, and windows beyond them are recorded and
// dismissed (rejected). A window that comes back after a later one was answered and destroyed
// (a chooser after "No" to its overwrite question) takes the next answer. A window that its answer
// left open for about three seconds is dismissed, so a wrong answer fails the test instead of
// hanging it. Each answer runs from the event
// loop of the window it answers, never from inside an earlier answer, so an answer may open
// further modal windows (a chooser's overwrite question) that later answers take. One script at
// a time: a second one alive would take windows meant for the first.
class ModalScript {
  public:
    using Answer = std::function<void(QWidget&)>;

    explicit ModalScript(QWidget* besides);
    ~ModalScript();
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    ModalScript& Then(Answer answer);

    // Every modal window that opened, in order.
    [[nodiscard]] const std::vector<SeenModal>& Seen() const { return m_seen; }
    // Answers given with Then that no window reached.
    [[nodiscard]] std::size_t Unused() const { return m_answers.size() - m_next; }
    // Windows left open by their answer and dismissed.
    [[nodiscard]] int Stuck() const { return m_stuck; }

  private:
    void Poll();

    QWidget* m_besides;
    QTimer* m_timer;
    std::vector<Answer> m_answers;
    std::size_t m_next = 0;
    std::vector<SeenModal> m_seen;
    // The windows answered so far that may still be open, in order of answering.
    std::vector<QPointer<QWidget>> m_answered;
    int m_pollsOnAnswered = 0;
    int m_stuck = 0;
};

// Answers for a ModalScript.
// Clicks `button` of a message box.
[[nodiscard]] ModalScript::Answer ClickInBox(int button);
// Types `path` into a file chooser's name field and clicks its accept button.
[[nodiscard]] ModalScript::Answer ChooseFile(const QString& path);
// Clicks a file chooser's Cancel button.
[[nodiscard]] ModalScript::Answer CancelChooser();
