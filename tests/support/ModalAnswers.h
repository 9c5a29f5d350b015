// Answers the modal dialogs that a step of a test opens, the way a user would: a timer finds
// QApplication::activeModalWidget() and hands each new one to the next answer in order.
// A dialog that finds no answer left fails the test at once, naming it, and is rejected. Only
// the newest ModalAnswers answers: a test program's entry keeps one without answers, so that
// a dialog that no test expects never waits for the time-out.
#pragma once

#include "framework/core/Resource.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

class ModalAnswers {
public:
    using Answer = std::function<void(QWidget*)>;

    explicit ModalAnswers(std::vector<Answer> answers) : m_answers(std::move(answers))
    {
        Live().push_back(this);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Poll(); });
        m_timer.start(10);
    }
    ~ModalAnswers() { std::erase(Live(), this); }
    ModalAnswers(const ModalAnswers&) = delete;
    ModalAnswers& operator=(const ModalAnswers&) = delete;

    int Answered() const { return m_nAnswered; }
    int Unexpected() const { return m_nUnexpected; }
    // The texts of the message boxes answered, in order.
    const QStringList& Texts() const { return m_texts; }
    // Whether a message holds the program's string with this id.
    static bool Says(const QString& text, UINT stringId)
    {
        return text.contains(QString::fromUtf8(res::LoadString(stringId)));
    }

    // Clicks a button of a message box.
    static Answer Click(QMessageBox::StandardButton button)
    {
        return [button](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (box && box->button(button))
                box->button(button)->click();
            else
                Reject(w);
        };
    }

    // Types a name into a file dialog and accepts it; `inspect` may look at the dialog first.
    static Answer TypeFileName(const QString& name,
                               std::function<void(QFileDialog*)> inspect = nullptr)
    {
        return [name, inspect](QWidget* w) {
            auto* dlg = qobject_cast<QFileDialog*>(w);
            if (!dlg) {
                Reject(w);
                return;
            }
            if (inspect)
                inspect(dlg);
            auto* edit = dlg->findChild<QLineEdit*>("fileNameEdit");
            if (edit) {
                // Typed key by key where the test library can (it knows only ASCII keys).
                edit->clear();
                bool ascii = true;
                for (QChar ch : name)
                    ascii = ascii && ch.unicode() < 0x80;
                if (ascii)
                    QTest::keyClicks(edit, name);
                else
                    edit->setText(name);
            }
            static_cast<QDialog*>(dlg)->accept(); // QFileDialog's own is protected
        };
    }

    // Cancels any dialog; `inspect` may look at it first.
    static Answer Cancel(std::function<void(QWidget*)> inspect = nullptr)
    {
        return [inspect](QWidget* w) {
            if (inspect)
                inspect(w);
            Reject(w);
        };
    }

private:
    static std::vector<ModalAnswers*>& Live()
    {
        static std::vector<ModalAnswers*> live;
        return live;
    }
    static void Reject(QWidget* w)
    {
        if (auto* dlg = qobject_cast<QDialog*>(w))
            dlg->reject();
        else
            w->close();
    }

    void Poll()
    {
        QWidget* w = QApplication::activeModalWidget();
        if (Live().back() != this || !w || !w->isVisible() ||
            w->property("answeredByTest").toBool())
            return;
        w->setProperty("answeredByTest", true);
        if (auto* box = qobject_cast<QMessageBox*>(w))
            m_texts << box->text();
        if (m_nAnswered >= int(m_answers.size())) {
            ++m_nUnexpected;
            const auto* box = qobject_cast<QMessageBox*>(w);
            ADD_FAILURE() << "a dialog no step expects: \"" << w->windowTitle().toStdString()
                          << "\" " << (box ? box->text().toStdString() : std::string());
            Reject(w);
            return;
        }
        // Answered from a timer of its own: a dialog that the answer opens in turn (an
        // overwrite question) needs the polling timer free to find it.
        Answer answer = m_answers[std::size_t(m_nAnswered++)];
        QTimer::singleShot(0, w, [answer, w] { answer(w); });
    }

    std::vector<Answer> m_answers;
    QTimer m_timer;
    int m_nAnswered = 0;
    int m_nUnexpected = 0;
    QStringList m_texts;
};
