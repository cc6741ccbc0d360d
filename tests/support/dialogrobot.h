// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QDataStream>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>

#include <functional>

#include <unistd.h>

// One prompt or message as the game showed it.
struct DialogCall {
    enum Kind { AskText,
                Inform,
                AskYesNo };
    Kind kind;
    QString text;
    QString title;
};

// Answers the game's real prompts and message boxes as a child at the
// keyboard would, from a script, and keeps what each of them showed. It checks
// what every one of them must be: a prompt starts empty; a message has an OK
// button only and no icon and shows its text as plain text; a question has
// Yes and No, and Enter takes No.
class DialogRobot : public QObject
{
public:
    QStringList textAnswers; // typed, then Enter; when none is left, Cancel
    QList<bool> yesNoAnswers; // when none is left, No
    // Runs while a prompt or message is open, inside its event loop: a test
    // can let time pass or look at the window here.
    std::function<void(const DialogCall &)> whileOpen;
    QList<DialogCall> calls;
    // In a copy of the test process that the game is to end, where each call
    // goes, with whether a check failed in the copy so far.
    int copyReportsTo = -1;

    // Takes the calls a copy reported; true if a check failed there.
    bool takeReports(const QByteArray &reports)
    {
        QDataStream in(reports);
        bool failed = false;
        while (!in.atEnd()) {
            int kind = 0;
            QString text, title;
            bool failedThere = false;
            in >> kind >> text >> title >> failedThere;
            calls << DialogCall{DialogCall::Kind(kind), text, title};
            failed = failed || failedThere;
        }
        return failed;
    }

    DialogRobot() { qApp->installEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // A copy made by fork has none of Qt's painting threads, and waits for
        // them for ever; no one looks at it, so it paints nothing.
        const QEvent::Type type = event->type();
        if (copyReportsTo >= 0 && (type == QEvent::UpdateRequest || type == QEvent::Paint || type == QEvent::Expose))
            return true;
        // Answered from the dialog's own event loop, once it runs; the window
        // system's own show event of the same dialog is not a second one.
        if (event->type() == QEvent::Show && !event->spontaneous()
            && (qobject_cast<QInputDialog *>(watched) || qobject_cast<QMessageBox *>(watched)))
            QMetaObject::invokeMethod(
                this, [this, dialog = QPointer(static_cast<QDialog *>(watched))] { answer(dialog); }, Qt::QueuedConnection);
        return false;
    }

private:
    void answer(QDialog *dialog)
    {
        if (!dialog || !dialog->isVisible())
            return;
        const auto report = qScopeGuard([this, before = calls.size()] {
            if (copyReportsTo < 0 || calls.size() == before)
                return;
            QByteArray bytes;
            QDataStream(&bytes, QIODevice::WriteOnly) << int(calls.last().kind) << calls.last().text << calls.last().title << QTest::currentTestFailed();
            if (::write(copyReportsTo, bytes.constData(), bytes.size()) != bytes.size())
                qFatal("cannot report to the test");
        });
        // What is checked is read first and compared last: a failed check
        // must not leave the dialog open for ever.
        if (auto *prompt = qobject_cast<QInputDialog *>(dialog)) {
            open({DialogCall::AskText, prompt->labelText(), prompt->windowTitle()});
            const QString start = prompt->textValue();
            if (textAnswers.isEmpty()) {
                prompt->reject();
            } else {
                QTest::keyClicks(prompt->findChild<QLineEdit *>(), textAnswers.takeFirst());
                QTest::keyClick(prompt->findChild<QLineEdit *>(), Qt::Key_Return);
            }
            QCOMPARE(start, QString());
        } else if (auto *box = qobject_cast<QMessageBox *>(dialog)) {
            const bool question = box->icon() == QMessageBox::Question;
            open({question ? DialogCall::AskYesNo : DialogCall::Inform, box->text(), box->windowTitle()});
            const auto look = std::tuple(box->icon(), box->textFormat(), box->standardButtons());
            if (question && !yesNoAnswers.isEmpty() && yesNoAnswers.takeFirst())
                box->button(QMessageBox::Yes)->click();
            else
                QTest::keyClick(box, Qt::Key_Return);
            QCOMPARE(look, question ? std::tuple(QMessageBox::Question, Qt::PlainText, QMessageBox::Yes | QMessageBox::No) : std::tuple(QMessageBox::NoIcon, Qt::PlainText, QMessageBox::StandardButtons(QMessageBox::Ok)));
        }
    }
    void open(const DialogCall &call)
    {
        calls.append(call);
        if (whileOpen)
            whileOpen(call);
    }
};
