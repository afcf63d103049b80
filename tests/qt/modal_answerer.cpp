#include "modal_answerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

void AnswerNextModal(std::function<void(QWidget&)> answer, QWidget* besides) {
    constexpr int kPollMilliseconds = 10;
    constexpr int kMaximumPolls = 500;
    auto* timer = new QTimer(qApp);
    auto polls = std::make_shared<int>(0);
    QObject::connect(
        timer, &QTimer::timeout, timer, [timer, polls, besides, answer = std::move(answer)] {
            QWidget* modal = QApplication::activeModalWidget();
            const bool found = modal != nullptr && modal != besides && modal->isVisible();
            if (!found && ++*polls < kMaximumPolls) {
                return;
            }
            timer->stop();
            timer->deleteLater();
            if (found) {
                answer(*modal);
            }
        });
    timer->start(kPollMilliseconds);
}

void ClickOkInNextMessageBox(SeenMessageBox& seen, QWidget* besides) {
    AnswerNextModal(
        [&seen](QWidget& modal) {
            auto* box = qobject_cast<QMessageBox*>(&modal);
            if (box == nullptr) {
                return;
            }
            seen.seen = true;
            seen.caption = box->windowTitle();
            seen.text = box->text();
            seen.icon = box->icon();
            box->button(QMessageBox::Ok)->click();
        },
        besides);
}
