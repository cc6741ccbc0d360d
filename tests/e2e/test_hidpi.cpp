// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// On a high-density screen the window grows as one piece: with Qt's scale
// factor 2 every control, every text and every picture takes twice the screen
// pixels and keeps its place in the layout. The scale factor is read once, at
// the start of a program, so this test runs the game window twice in programs
// of its own, at QT_SCALE_FACTOR 1 and 2, and compares what they report: the
// controls' places and text sizes, and a screenshot of the whole window.
#include "autosizelabel.h"
#include "gamewindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// Set for the programs that draw the window: the folder to report into.
constexpr char ReportVariable[] = "GOMIRLO_HIDPI_REPORT";

QJsonArray rect(const QRect &r)
{
    return {r.x(), r.y(), r.width(), r.height()};
}

// One run at the scale factor the environment sets: the window in its normal
// state with a fixed question, described in report.json and drawn in
// window.png (in the screen's own pixels).
int report(int argc, char *argv[])
{
    QApplication app(argc, argv);
    GameWindow game(u"Anna"_s);
    game.start();
    game.timer()->stop();
    Tavola &window = game.window();
    window.showNormal();
    window.setGeometry(QRect(QPoint(0, 0), window.normalGeometry().size()));
    if (!QTest::qWaitForWindowExposed(&window))
        return 2;
    // A wrong answer turns the whole window black: the same background at
    // both scales, whatever tint the question had and whatever size the
    // window had when it was painted. The question is made the same too, so
    // that the two pictures can be compared.
    game.answer(u"0"_s);
    game.control<AutoSizeLabel>("lblNum1")->setCaption(u"7"_s);
    game.control("lblMessage")->setText(u"Sbagliato!! 13"_s);
    QTest::qWait(50);

    QJsonObject controls;
    for (QWidget *control : window.findChildren<QWidget *>()) {
        if (control->objectName().isEmpty() || !control->isVisible())
            continue;
        QJsonObject entry{{u"geometry"_s, rect(QRect(control->mapTo(&window, QPoint(0, 0)), control->size()))}};
        QString text;
        if (auto *label = qobject_cast<QLabel *>(control))
            text = label->text();
        else if (auto *button = qobject_cast<QAbstractButton *>(control))
            text = button->text().remove(u'&');
        if (!text.isEmpty()) {
            const QFontMetricsF metrics(control->font(), control);
            entry[u"textWidth"_s] = metrics.horizontalAdvance(text);
            entry[u"textHeight"_s] = metrics.height();
        }
        controls[control->objectName()] = entry;
    }
    const QImage shot = window.grab().toImage();
    const QJsonObject out{
        {u"devicePixelRatio"_s, window.devicePixelRatioF()},
        {u"window"_s, rect(QRect(QPoint(0, 0), window.size()))},
        {u"controls"_s, controls},
    };
    const QDir folder(qEnvironmentVariable(ReportVariable));
    QFile json(folder.filePath(u"report.json"_s));
    if (!json.open(QIODevice::WriteOnly) || json.write(QJsonDocument(out).toJson()) < 0)
        return 3;
    return shot.save(folder.filePath(u"window.png"_s)) ? 0 : 4;
}

struct Run {
    QJsonObject report;
    QImage shot;
};

// The mean difference of two pictures of one size, 0 to 255 per channel.
double difference(const QImage &a, const QImage &b)
{
    Q_ASSERT(a.size() == b.size());
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row) {
        const auto *p = reinterpret_cast<const QRgb *>(x.constScanLine(row));
        const auto *q = reinterpret_cast<const QRgb *>(y.constScanLine(row));
        for (int column = 0; column < x.width(); ++column) {
            sum += std::abs(qRed(p[column]) - qRed(q[column])) + std::abs(qGreen(p[column]) - qGreen(q[column]))
                + std::abs(qBlue(p[column]) - qBlue(q[column]));
        }
    }
    return sum / (3.0 * x.width() * x.height());
}

QRect fromJson(const QJsonValue &value)
{
    const QJsonArray a = value.toArray();
    return QRect(a[0].toInt(), a[1].toInt(), a[2].toInt(), a[3].toInt());
}

} // namespace

class HiDpiTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir folder;
    Run single, twice;
    // A screenshot at scale 2, brought back to the size of one at scale 1.
    QImage shrunk;

    Run run(const QString &factor)
    {
        const QString out = folder.filePath(factor);
        QDir().mkpath(out);
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(ReportVariable), out);
        env.insert(u"QT_SCALE_FACTOR"_s, factor);
        env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        env.remove(u"QT_SCREEN_SCALE_FACTORS"_s);
        env.remove(u"QT_AUTO_SCREEN_SCALE_FACTOR"_s);
        env.remove(u"QT_ENABLE_HIGHDPI_SCALING"_s);
        program.setProcessEnvironment(env);
        program.setProcessChannelMode(QProcess::ForwardedChannels);
        program.start(QCoreApplication::applicationFilePath(), {});
        if (!program.waitForFinished(60000) || program.exitStatus() != QProcess::NormalExit || program.exitCode() != 0)
            qFatal("the window could not be drawn at scale %s", qPrintable(factor));
        QFile json(out + u"/report.json"_s);
        if (!json.open(QIODevice::ReadOnly))
            qFatal("no report at scale %s", qPrintable(factor));
        return {QJsonDocument::fromJson(json.readAll()).object(), QImage(out + u"/window.png"_s)};
    }

    QJsonObject control(const Run &at, const QString &name)
    {
        return at.report[u"controls"_s].toObject()[name].toObject();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(folder.isValid());
        single = run(u"1"_s);
        twice = run(u"2"_s);
        QVERIFY(!single.shot.isNull());
        QVERIFY(!twice.shot.isNull());
        shrunk = twice.shot.scaled(single.shot.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }

    void theScreenHasTwiceThePixels()
    {
        QCOMPARE(single.report[u"devicePixelRatio"_s].toDouble(), 1.0);
        QCOMPARE(twice.report[u"devicePixelRatio"_s].toDouble(), 2.0);
        QCOMPARE(single.shot.size(), fromJson(single.report[u"window"_s]).size());
        // The screenshot holds the screen's pixels: twice as many each way.
        QCOMPARE(twice.shot.size(), single.shot.size() * 2);
    }

    void everyControlKeepsItsPlaceInTheLayout()
    {
        const QJsonObject controls = single.report[u"controls"_s].toObject();
        QVERIFY(controls.size() >= 20);
        for (auto it = controls.begin(); it != controls.end(); ++it) {
            const QRect at1 = fromJson(it.value().toObject()[u"geometry"_s]);
            const QRect at2 = fromJson(control(twice, it.key())[u"geometry"_s]);
            // In the layout's own units the window is the same; a label that
            // takes the size of its text may round to a pixel more or less.
            QVERIFY2(at2.topLeft() == at1.topLeft(), qPrintable(it.key()));
            QVERIFY2(std::abs(at2.width() - at1.width()) <= 1 && std::abs(at2.height() - at1.height()) <= 1,
                     qPrintable(it.key()));
        }
    }

    void textsGrowWithTheLayout()
    {
        const QJsonObject controls = single.report[u"controls"_s].toObject();
        int texts = 0;
        for (auto it = controls.begin(); it != controls.end(); ++it) {
            const QJsonObject at1 = it.value().toObject();
            if (!at1.contains(u"textWidth"_s))
                continue;
            ++texts;
            const QJsonObject at2 = control(twice, it.key());
            // Measured in the layout's units, a text is as wide and as tall
            // at both scales (so on the screen it is twice the size), give or
            // take what finer hinting changes.
            const double width1 = at1[u"textWidth"_s].toDouble(), width2 = at2[u"textWidth"_s].toDouble();
            const double height1 = at1[u"textHeight"_s].toDouble(), height2 = at2[u"textHeight"_s].toDouble();
            QVERIFY2(std::abs(width2 - width1) <= std::max(2.0, 0.05 * width1), qPrintable(it.key()));
            QVERIFY2(std::abs(height2 - height1) <= 1.0, qPrintable(it.key()));
        }
        QVERIFY(texts >= 15);
    }

    // The whole window, drawn at scale 2 and shrunk back, is the window drawn
    // at scale 1: nothing stayed small (a text, a picture, a border) and
    // nothing moved. The same comparison against the top-left quarter of
    // the scale-2 picture, as a window that did not grow would look, must
    // show a far larger difference, or the comparison proves nothing.
    void theWindowLooksTheSameTwiceAsLarge()
    {
        const double same = difference(single.shot, shrunk);
        const QImage quarter = twice.shot.copy(QRect(QPoint(0, 0), single.shot.size()));
        const double unscaled = difference(single.shot, quarter);
        qInfo("mean difference: shrunk %.2f, not scaled %.2f", same, unscaled);
        QVERIFY2(same < 4.0, qPrintable(QString::number(same)));
        QVERIFY2(unscaled > 4 * same, qPrintable(QString::number(unscaled)));
    }

    // Control by control, so that one small control that did not grow (a
    // picture of 32 pixels among hundreds of thousands) cannot hide. Text
    // edges and thin borders land on different pixels at the two scales,
    // which costs a control up to about 10; a control drawn at half its size
    // differs by several times that.
    void everyControlLooksTheSameTwiceAsLarge()
    {
        const QJsonObject controls = single.report[u"controls"_s].toObject();
        int compared = 0;
        for (auto it = controls.begin(); it != controls.end(); ++it) {
            const QRect area = fromJson(it.value().toObject()[u"geometry"_s]) & single.shot.rect();
            if (area.width() < 4 || area.height() < 4)
                continue;
            ++compared;
            const double same = difference(single.shot.copy(area), shrunk.copy(area));
            QVERIFY2(same < 16.0, qPrintable(u"%1 differs by %2"_s.arg(it.key()).arg(same)));
        }
        QVERIFY(compared >= 20);
    }
};

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsSet(ReportVariable))
        return report(argc, argv);
    QCoreApplication app(argc, argv);
    HiDpiTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_hidpi.moc"
