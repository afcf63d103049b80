#include "modal_answerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <utility>

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

namespace {

constexpr int kScriptPollMilliseconds = 5;
constexpr int kStuckPolls = 600;

void Dismiss(QWidget& modal) {
    if (auto* dialog = qobject_cast<QDialog*>(&modal)) {
        dialog->reject();
    } else {
        modal.close();
    }
}

SeenModal Describe(QWidget& modal) {
    SeenModal seen;
    seen.kind = QString::fromLatin1(modal.metaObject()->className());
    seen.caption = modal.windowTitle();
    if (auto* box = qobject_cast<QMessageBox*>(&modal)) {
        seen.text = box->text();
        seen.icon = box->icon();
    }
    if (auto* chooser = qobject_cast<QFileDialog*>(&modal)) {
        seen.acceptMode = chooser->acceptMode();
        seen.nameFilter = chooser->selectedNameFilter();
        if (auto* name = chooser->findChild<QLineEdit*>("fileNameEdit")) {
            seen.offeredName = name->text();
        }
    }
    return seen;
}

QAbstractButton* ChooserButton(QFileDialog& chooser, QDialogButtonBox::ButtonRole role) {
    auto* buttons = chooser.findChild<QDialogButtonBox*>("buttonBox");
    if (buttons == nullptr) {
        return nullptr;
    }
    for (QAbstractButton* button : buttons->buttons()) {
        if (buttons->buttonRole(button) == role) {
            return button;
        }
    }
    return nullptr;
}

}  // namespace

ModalScript::ModalScript(QWidget* besides) : m_besides(besides), m_timer(new QTimer(qApp)) {
    QObject::connect(m_timer, &QTimer::timeout, m_timer, [this] { Poll(); });
    m_timer->start(kScriptPollMilliseconds);
}

ModalScript::~ModalScript() {
    m_timer->stop();
    m_timer->deleteLater();
}

ModalScript& ModalScript::Then(Answer answer) {
    m_answers.push_back(std::move(answer));
    return *this;
}

void ModalScript::Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || modal == m_besides || !modal->isVisible()) {
        m_pollsOnAnswered = 0;
        return;
    }
    const auto answered = std::find(m_answered.begin(), m_answered.end(), modal);
    if (answered != m_answered.end()) {
        if (answered + 1 == m_answered.end()) {
            if (++m_pollsOnAnswered >= kStuckPolls) {
                m_pollsOnAnswered = 0;
                ++m_stuck;
                Dismiss(*modal);
            }
            return;
        }
        // A window answered after this one still exists: this one is active again only
        // because that window was just hidden from within its own loop (the overwrite question
        // that was answered Yes, with the chooser about to close behind it). It is back only
        // once every later window is gone (No, and the chooser stays open).
        const bool laterAlive = std::any_of(answered + 1, m_answered.end(),
                                            [](const QPointer<QWidget>& w) { return !w.isNull(); });
        if (laterAlive) {
            return;
        }
        m_answered.erase(answered, m_answered.end());
    }
    m_pollsOnAnswered = 0;
    m_answered.emplace_back(modal);
    m_seen.push_back(Describe(*modal));
    Answer answer = m_next < m_answers.size() ? m_answers[m_next++] : Answer(Dismiss);
    // Queued, so that this timer is free to answer whatever the answer opens.
    QTimer::singleShot(0, modal, [target = QPointer<QWidget>(modal), answer = std::move(answer)] {
        if (target != nullptr) {
            answer(*target);
        }
    });
}

ModalScript::Answer ClickInBox(int button) {
    return [button](QWidget& modal) {
        auto* box = qobject_cast<QMessageBox*>(&modal);
        QAbstractButton* target =
            box != nullptr ? box->button(static_cast<QMessageBox::StandardButton>(button))
                           : nullptr;
        if (target == nullptr) {
            Dismiss(modal);
            return;
        }
        target->click();
    };
}

ModalScript::Answer ChooseFile(const QString& path) {
    return [path](QWidget& modal) {
        auto* chooser = qobject_cast<QFileDialog*>(&modal);
        auto* name = chooser != nullptr ? chooser->findChild<QLineEdit*>("fileNameEdit") : nullptr;
        QAbstractButton* accept =
            chooser != nullptr ? ChooserButton(*chooser, QDialogButtonBox::AcceptRole) : nullptr;
        if (name == nullptr || accept == nullptr) {
            Dismiss(modal);
            return;
        }
        name->setFocus();
        name->selectAll();
        QTest::keyClick(name, Qt::Key_Delete);
        QTest::keyClicks(name, path);
        accept->click();
    };
}

ModalScript::Answer CancelChooser() {
    return [](QWidget& modal) {
        auto* chooser = qobject_cast<QFileDialog*>(&modal);
        QAbstractButton* cancel =
            chooser != nullptr ? ChooserButton(*chooser, QDialogButtonBox::RejectRole) : nullptr;
        if (cancel == nullptr) {
            Dismiss(modal);
            return;
        }
        cancel->click();
    };
}
