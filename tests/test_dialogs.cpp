// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The real prompts and message boxes: their texts, titles, buttons and icons,
// answered as a person would answer them.
#include "dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

// Runs answer on the dialog once it is open and modal.
template<typename Dialog>
void whenOpen(std::function<void(Dialog *)> answer)
{
    QTimer::singleShot(0, [answer] {
        QTRY_VERIFY(qobject_cast<Dialog *>(QApplication::activeModalWidget()));
        answer(qobject_cast<Dialog *>(QApplication::activeModalWidget()));
    });
}

} // namespace

class DialogsTest : public QObject
{
    Q_OBJECT

private:
    QtDialogs dialogs;

private slots:
    void thePromptStartsEmptyAndGivesWhatWasTyped()
    {
        QString label, title, start;
        whenOpen<QInputDialog>([&](QInputDialog *prompt) {
            label = prompt->labelText();
            title = prompt->windowTitle();
            start = prompt->textValue();
            QLineEdit *field = prompt->findChild<QLineEdit *>();
            QTest::keyClicks(field, u" Anna "_s);
            QTest::keyClick(field, Qt::Key_Return);
        });
        QCOMPARE(dialogs.askText(u"Come ti chiami?"_s, u"Gomirlo"_s), u" Anna "_s);
        QCOMPARE(label, u"Come ti chiami?"_s);
        QCOMPARE(title, u"Gomirlo"_s);
        QCOMPARE(start, QString());
    }

    void cancelGivesTheEmptyText()
    {
        whenOpen<QInputDialog>([](QInputDialog *prompt) {
            QTest::keyClicks(prompt->findChild<QLineEdit *>(), u"5"_s);
            prompt->reject();
        });
        QCOMPARE(dialogs.askText(u"Tavola pitagorica fino al numero? "_s, u"Gomirlo"_s), QString());
    }

    void aMessageHasOnlyOkAndNoIcon()
    {
        QMessageBox::Icon icon = QMessageBox::Critical;
        QString text;
        int buttons = 0;
        whenOpen<QMessageBox>([&](QMessageBox *box) {
            icon = box->icon();
            text = box->text();
            buttons = box->buttons().size();
            QCOMPARE(box->textFormat(), Qt::PlainText);
            box->button(QMessageBox::Ok)->click();
        });
        dialogs.inform(u" <b>Ugo</b> vediamo se sei un vero campione  "_s, u"Gomirlo"_s);
        QCOMPARE(icon, QMessageBox::NoIcon);
        QCOMPARE(text, u" <b>Ugo</b> vediamo se sei un vero campione  "_s);
        QCOMPARE(buttons, 1);
    }

    void theConfirmationAsksWithNoAsDefault_data()
    {
        QTest::addColumn<bool>("pressEnter");
        QTest::addColumn<bool>("yes");
        QTest::newRow("Enter takes the default") << true << false;
        QTest::newRow("Yes clicked") << false << true;
    }
    void theConfirmationAsksWithNoAsDefault()
    {
        QFETCH(bool, pressEnter);
        QFETCH(bool, yes);
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QString title;
        whenOpen<QMessageBox>([&](QMessageBox *box) {
            icon = box->icon();
            title = box->windowTitle();
            QCOMPARE(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
            QCOMPARE(box->defaultButton(), box->button(QMessageBox::No));
            if (pressEnter)
                QTest::keyClick(box, Qt::Key_Return);
            else
                box->button(QMessageBox::Yes)->click();
        });
        QCOMPARE(dialogs.askYesNo(u"INIZIAMO UNA NUOVA GARA  ?"_s, u"INIZIARE NUOVA GARA"_s), yes);
        QCOMPARE(icon, QMessageBox::Question);
        QCOMPARE(title, u"INIZIARE NUOVA GARA"_s);
    }
};

QTEST_MAIN(DialogsTest)
#include "test_dialogs.moc"
