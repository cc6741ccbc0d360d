// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The window as the child first sees it: every control where the layout puts
// it, with its font, colours, texts and tooltips, the focus order and the menus.
#include "autosizelabel.h"
#include "gamewindow.h"

#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

class LayoutTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<GameWindow> game;

    // The window in its normal state. The offscreen platform does not move a
    // window back to its normal geometry by itself, as a window manager does.
    void restored()
    {
        Tavola &window = game->window();
        const QRect normal = window.normalGeometry();
        window.showNormal();
        window.setGeometry(normal);
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }

private slots:
    void init()
    {
        game = std::make_unique<GameWindow>();
        game->start();
    }
    void cleanup() { game.reset(); }

    void controlsHaveTheirKindPlaceAndText_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("text");
        // Geometry in pixels: the twips of the layout divided by 15. Labels
        // whose text the game sets are checked elsewhere.
        QTest::newRow("txtAnswer") << u"txtAnswer"_s << u"QLineEdit"_s << QRect(648, 0, 225, 118) << QString();
        QTest::newRow("cmdNext") << u"cmdNext"_s << u"PictureButton"_s << QRect(280, 352, 121, 73) << u"&Nuovo calcolo"_s;
        QTest::newRow("cmdExit") << u"cmdExit"_s << u"PictureButton"_s << QRect(512, 352, 137, 73) << u"E&xit"_s;
        QTest::newRow("Label13") << u"Label13"_s << u"AutoSizeLabel"_s << QRect(512, 504, 131, 37) << u"con punti"_s;
        QTest::newRow("Label12") << u"Label12"_s << u"QLabel"_s << QRect(8, 504, 217, 41) << u"Il record  è di "_s;
        QTest::newRow("Label14") << u"Label14"_s << u"AutoSizeLabel"_s << QRect(48, 368, 95, 28) << u"Sfidante"_s;
        QTest::newRow("Label11") << u"Label11"_s << u"QLabel"_s << QRect(0, 88, 105, 25) << u"Tempo restante"_s;
        QTest::newRow("Label3") << u"Label3"_s << u"AutoSizeLabel"_s << QRect(496, 224, 156, 33) << u"Risposte totali"_s;
        QTest::newRow("Label1") << u"Label1"_s << u"AutoSizeLabel"_s << QRect(256, 224, 168, 33) << u"Risposte errate"_s;
        QTest::newRow("lblScore2") << u"lblScore2"_s << u"AutoSizeLabel"_s << QRect(554, 272, 37, 59) << u"0"_s;
        QTest::newRow("lblScore1") << u"lblScore1"_s << u"AutoSizeLabel"_s << QRect(322, 272, 36, 59) << u"0"_s;
        QTest::newRow("Image1") << u"Image1"_s << u"QLabel"_s << QRect(32, 112, 32, 32) << QString();
        QTest::newRow("Label2") << u"Label2"_s << u"QLabel"_s << QRect(240, 0, 401, 153) << u"Il suo gomirlo per arrivare a 20 è"_s;
        QTest::newRow("lblScore") << u"lblScore"_s << u"AutoSizeLabel"_s << QRect(72, 272, 37, 59) << u"0"_s;
        QTest::newRow("lblMessage") << u"lblMessage"_s << u"QLabel"_s << QRect(112, 136, 441, 41) << QString();
        QTest::newRow("Label6") << u"Label6"_s << u"AutoSizeLabel"_s << QRect(16, 224, 171, 33) << u"Risposte esatte"_s;
    }
    void controlsHaveTheirKindPlaceAndText()
    {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QFETCH(QRect, geometry);
        QFETCH(QString, text);
        auto *control = game->window().findChild<QWidget *>(name);
        QVERIFY(control);
        QCOMPARE(control->metaObject()->className(), kind);
        QCOMPARE(control->geometry(), geometry);
        if (auto *label = qobject_cast<QLabel *>(control))
            QCOMPARE(label->text(), text);
        else if (auto *button = qobject_cast<QToolButton *>(control))
            QCOMPARE(button->text(), text);
    }

    void labelsSetByTheStartUpKeepTheirCorner_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QPoint>("corner");
        QTest::newRow("lblpunti") << u"lblpunti"_s << QPoint(672, 504);
        QTest::newRow("lblnome") << u"lblnome"_s << QPoint(208, 504);
        QTest::newRow("lblnome1") << u"lblnome1"_s << QPoint(16, 432);
        QTest::newRow("lblconto") << u"lblconto"_s << QPoint(0, 152);
        QTest::newRow("lblNum1") << u"lblNum1"_s << QPoint(192, 8);
    }
    void labelsSetByTheStartUpKeepTheirCorner()
    {
        QFETCH(QString, name);
        QFETCH(QPoint, corner);
        QCOMPARE(game->window().findChild<QLabel *>(name)->pos(), corner);
    }

    void fontsAreTheLayouts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("family");
        QTest::addColumn<qreal>("points");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("italic");
        QTest::newRow("txtAnswer") << u"txtAnswer"_s << u"Arial"_s << 72.0 << true << false;
        QTest::newRow("cmdNext") << u"cmdNext"_s << u"MS Sans Serif"_s << 8.25 << true << false;
        QTest::newRow("cmdExit") << u"cmdExit"_s << u"MS Sans Serif"_s << 8.25 << true << false;
        QTest::newRow("lblpunti") << u"lblpunti"_s << u"MS Sans Serif"_s << 24.0 << false << false;
        QTest::newRow("lblnome") << u"lblnome"_s << u"MS Sans Serif"_s << 24.0 << true << false;
        QTest::newRow("lblnome1") << u"lblnome1"_s << u"MS Sans Serif"_s << 13.5 << true << false;
        QTest::newRow("Label14") << u"Label14"_s << u"MS Sans Serif"_s << 13.5 << false << false;
        QTest::newRow("lblconto") << u"lblconto"_s << u"Arial Black"_s << 12.0 << true << false;
        QTest::newRow("Label11") << u"Label11"_s << u"MS Sans Serif"_s << 9.75 << false << false;
        QTest::newRow("lblScore2") << u"lblScore2"_s << u"Times New Roman"_s << 36.0 << true << false;
        QTest::newRow("Label2") << u"Label2"_s << u"Arial"_s << 24.0 << false << false;
        QTest::newRow("lblNum1") << u"lblNum1"_s << u"Arial"_s << 72.0 << true << false;
        QTest::newRow("lblMessage") << u"lblMessage"_s << u"MS Sans Serif"_s << 24.0 << true << true;
        QTest::newRow("Label6") << u"Label6"_s << u"MS Sans Serif"_s << 18.0 << false << false;
    }
    void fontsAreTheLayouts()
    {
        QFETCH(QString, name);
        QFETCH(QString, family);
        QFETCH(qreal, points);
        QFETCH(bool, bold);
        QFETCH(bool, italic);
        auto *control = game->window().findChild<QWidget *>(name);
        control->ensurePolished();
        const QFont font = control->font();
        QCOMPARE(font.family(), family);
        QCOMPARE(font.pointSizeF(), points);
        QCOMPARE(font.bold(), bold);
        QCOMPARE(font.italic(), italic);
    }

    void coloursBordersAndAlignment_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QColor>("text");
        QTest::addColumn<bool>("opaque");
        QTest::addColumn<bool>("bordered");
        QTest::addColumn<bool>("centred");
        const QColor yellow(255, 255, 0), cyan(0, 255, 255), red(255, 0, 0), blue(0, 0, 255);
        QTest::newRow("lblpunti") << u"lblpunti"_s << yellow << false << false << false;
        QTest::newRow("Label12") << u"Label12"_s << yellow << false << false << false;
        QTest::newRow("lblnome1") << u"lblnome1"_s << cyan << false << true << false;
        QTest::newRow("Label14") << u"Label14"_s << cyan << false << true << true;
        QTest::newRow("lblconto") << u"lblconto"_s << yellow << false << true << false;
        QTest::newRow("Label3") << u"Label3"_s << blue << false << true << false;
        QTest::newRow("Label1") << u"Label1"_s << red << false << true << false;
        QTest::newRow("lblScore1") << u"lblScore1"_s << red << false << true << true;
        QTest::newRow("Label2") << u"Label2"_s << yellow << false << false << true;
        QTest::newRow("lblNum1") << u"lblNum1"_s << blue << true << true << true;
        QTest::newRow("lblMessage") << u"lblMessage"_s << red << false << false << true;
        QTest::newRow("Label6") << u"Label6"_s << cyan << false << true << true;
        // The score keeps the system's own text colour.
        QTest::newRow("lblScore") << u"lblScore"_s << QApplication::palette().color(QPalette::WindowText) << false << true
                                  << true;
    }
    void coloursBordersAndAlignment()
    {
        QFETCH(QString, name);
        QFETCH(QColor, text);
        QFETCH(bool, opaque);
        QFETCH(bool, bordered);
        QFETCH(bool, centred);
        auto *label = game->window().findChild<QLabel *>(name);
        label->ensurePolished();
        QCOMPARE(label->palette().color(QPalette::WindowText), text);
        QCOMPARE(label->autoFillBackground(), opaque);
        QCOMPARE(label->frameShape() == QFrame::Box && label->lineWidth() == 1, bordered);
        QCOMPARE(bool(label->alignment() & Qt::AlignHCenter), centred);
        // Plain text: a name typed as "<b>Ugo" must show as typed.
        QCOMPARE(label->textFormat(), Qt::PlainText);
    }

    void answerBoxAndButtonsHaveTheirColours()
    {
        QCOMPARE(game->answerBox()->palette().color(QPalette::Text), QColor(0, 0, 255));
        QCOMPARE(game->answerBox()->palette().color(QPalette::Base), QColor(255, 255, 0));
        QCOMPARE(game->control<QLabel>("lblNum1")->palette().color(QPalette::Window), QColor(255, 255, 0));
        QCOMPARE(game->nextButton()->palette().color(QPalette::Button), QColor(0, 192, 192));
        QCOMPARE(game->exitButton()->palette().color(QPalette::Button), QColor(192, 0, 192));
        QCOMPARE(game->nextButton()->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    }

    void tooltipsAreExact_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("tip");
        QTest::newRow("txtAnswer") << u"txtAnswer"_s << u"Inserisci il risultato e  premi il tasto  Invio"_s;
        QTest::newRow("cmdNext") << u"cmdNext"_s << u"Go"_s;
        QTest::newRow("cmdExit") << u"cmdExit"_s << u"Ti prego resta ancora, forse riuscirai a farmi uscire "_s;
        QTest::newRow("Image1") << u"Image1"_s << u"Clicca sotto di me per impostare il Timer"_s;
        QTest::newRow("lblScore") << u"lblScore"_s << u"Questo è il tuo punteggio. Forza con il  record"_s;
    }
    void tooltipsAreExact()
    {
        QFETCH(QString, name);
        QFETCH(QString, tip);
        QCOMPARE(game->window().findChild<QWidget *>(name)->toolTip(), tip);
    }

    void picturesHaveTheirSizes()
    {
        QCOMPARE(game->window().windowIcon().availableSizes().value(0), QSize(32, 32));
        const QIcon next = game->nextButton()->icon();
        const QImage normal = next.pixmap(QSize(32, 32), QIcon::Normal).toImage();
        const QImage down = next.pixmap(QSize(32, 32), QIcon::Selected).toImage();
        const QImage disabled = next.pixmap(QSize(32, 32), QIcon::Disabled).toImage();
        QVERIFY(normal != down && normal != disabled && down != disabled);
        QVERIFY(next.availableSizes().contains(QSize(16, 16)));
        QCOMPARE(game->control<QLabel>("Image1")->pixmap().size(), QSize(32, 32));
    }

    void onlyTheBoxAndButtonsTakeFocusInOrder()
    {
        for (QLabel *label : game->window().findChildren<QLabel *>())
            QCOMPARE(label->focusPolicy(), Qt::NoFocus);
        // cmdNext is disabled while a question waits, so Tab skips it.
        game->exitButton()->setFocus();
        QCOMPARE(game->exitButton()->nextInFocusChain(), game->nextButton());
        QCOMPARE(game->nextButton()->nextInFocusChain(), game->answerBox());
        QTest::keyClick(game->exitButton(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), game->answerBox());
        game->nextButton()->setEnabled(true);
        game->exitButton()->setFocus();
        QTest::keyClick(game->exitButton(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), game->nextButton());
    }

    void stackingPutsTheBoxAndButtonsOnTop()
    {
        const QObjectList order = game->control<QWidget>("centralwidget")->children();
        auto at = [&](const char *name) { return order.indexOf(game->window().findChild<QObject *>(QLatin1String(name))); };
        // Later children lie above earlier ones.
        QVERIFY(at("txtAnswer") > at("cmdNext"));
        QVERIFY(at("cmdNext") > at("cmdExit"));
        QVERIFY(at("cmdExit") > at("lblpunti"));
        QVERIFY(at("lblNum1") > at("lblScore"));
        QVERIFY(at("lblMessage") > at("Label6"));
        QVERIFY(at("lblpunti") > at("Label13"));
    }

    void menusHoldTheirEntries()
    {
        auto *bar = game->window().menuBar();
        QCOMPARE(bar->actions().size(), 2);
        auto *wp = game->control<QMenu>("wp");
        auto *ciao = game->control<QMenu>("Ciao");
        QCOMPARE(bar->actions().at(0), wp->menuAction());
        QCOMPARE(bar->actions().at(1), ciao->menuAction());
        QCOMPARE(wp->actions(), QList<QAction *>{game->control<QAction>("v")});
        const QList<QAction *> entries{game->control<QAction>("a"), game->control<QAction>("Next"),
                                       game->control<QAction>("agli")};
        QCOMPARE(ciao->actions(), entries);
        QCOMPARE(game->control<QAction>("Next")->text(), u"nuovo"_s);
        const QString dedication = game->control<QAction>("agli")->text();
        QVERIFY(dedication.startsWith(u"*** "_s) && dedication.endsWith(u" ***"_s) && dedication.contains(u"(www."_s));
        QVERIFY(game->control<QAction>("a")->text().endsWith(u"@example.org"_s));
    }

    void entriesWithoutHandlersDoNothing()
    {
        const QString before = game->caption("lblNum1");
        for (const char *name : {"v", "a", "agli"})
            game->control<QAction>(name)->trigger();
        QCOMPARE(game->dialogs.calls.size(), 2); // the name prompt and the greeting only
        QCOMPARE(game->caption("lblNum1"), before);
        QVERIFY(!game->exit.status);
    }

    void timerTicksEverySecond()
    {
        QCOMPARE(game->timer()->interval(), 1000);
        QVERIFY(game->timer()->isActive());
    }

    void restoredWindowHasItsClientArea()
    {
        QVERIFY(game->window().isMaximized());
        restored();
        QCOMPARE(game->control<QWidget>("centralwidget")->size(), Tavola::ClientSize);
        // The answer box reaches past the right edge of the restored window.
        QVERIFY(game->answerBox()->geometry().right() > Tavola::ClientSize.width());

        const QImage shot = game->window().grab().toImage();
        shot.save(QDir::current().filePath(u"tavola-restored.png"_s));
        const QPoint top = game->control<QWidget>("centralwidget")->mapTo(&game->window(), QPoint(0, 0));
        // Yellow behind the shown number and in the answer box.
        QCOMPARE(shot.pixelColor(top + QPoint(196, 12)), QColor(255, 255, 0));
        QCOMPARE(shot.pixelColor(top + QPoint(785, 110)), QColor(255, 255, 0));
    }

    void minimizingChangesTheCaptionForGood()
    {
        QCOMPARE(game->window().windowTitle(), u"Dimmi il gomirlo per arrivare a venti"_s);
        restored();
        game->window().showMaximized();
        QCOMPARE(game->window().windowTitle(), u"Dimmi il gomirlo per arrivare a venti"_s);
        game->window().showMinimized();
        QTRY_COMPARE(game->window().windowTitle(), u"Trova il successivo"_s);
        game->window().showNormal();
        QCOMPARE(game->window().windowTitle(), u"Trova il successivo"_s);
    }

    void accessKeysPressEnabledButtonsOnly()
    {
        QSignalSpy nextClicks(game->nextButton(), &QAbstractButton::clicked);
        QTest::keyClick(&game->window(), Qt::Key_N, Qt::AltModifier);
        QCOMPARE(nextClicks.count(), 0);
        game->answer(QString::number(game->state().ExpectedAnswer.value()));
        QTest::keyClick(&game->window(), Qt::Key_N, Qt::AltModifier);
        // An access key presses the button visibly, and the click follows.
        QTRY_COMPARE(nextClicks.count(), 1);
        QVERIFY(!game->nextButton()->isEnabled());
    }

    void autoSizedLabelGrowsWithItsTextFromItsCorner()
    {
        auto *label = game->control<AutoSizeLabel>("lblnome");
        const QPoint corner = label->pos();
        label->setCaption(u"Una riga\r\nDue"_s);
        const QSize twoLines = label->size();
        label->setCaption(u"Una riga molto più lunga della prima"_s);
        QCOMPARE(label->pos(), corner);
        QVERIFY(label->width() > twoLines.width());
        QVERIFY(label->height() < twoLines.height());
        QVERIFY(!label->wordWrap());
        // The size of the text itself, with the border and no indent.
        QVERIFY(label->height() <= label->fontMetrics().lineSpacing());
        auto *number = game->control<AutoSizeLabel>("lblNum1");
        QVERIFY(number->height() <= number->fontMetrics().lineSpacing() + 2);
        QVERIFY(number->width() <= number->fontMetrics().size(0, number->text()).width() + 2);
    }
};

QTEST_MAIN(LayoutTest)
#include "test_layout.moc"
