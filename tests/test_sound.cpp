// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The cues, heard for real: scripts/test.sh runs a sound server whose only
// output is a null sink, and this test records that sink while the game plays.
#include "cuefiles.h"
#include "gamewindow.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <iterator>

using namespace Qt::StringLiterals;

namespace {

constexpr double Rate = 44100; // of the cue files and of the recordings

// How long 16-bit mono samples sound (a sample above 1500 is sound, not
// noise), and how bright they are from a number of seconds into the sound on:
// their RMS frequency, from the energy of the change between samples against
// that of the samples. Where two cues sound at once, the brighter one rules.
std::pair<double, double> hear(const QByteArray &bytes, double brightnessFrom = 0)
{
    const auto *begin = reinterpret_cast<const qint16 *>(bytes.constData()), *end = begin + bytes.size() / 2;
    const auto loud = [](qint16 sample) { return qAbs(sample) > 1500; };
    const qint16 *first = std::find_if(begin, end, loud);
    const qint16 *last = std::find_if(std::reverse_iterator(end), std::reverse_iterator(first), loud).base();
    double energy = 1, change = 0;
    for (const qint16 *sample = std::min(last, first + qsizetype(brightnessFrom * Rate)) + 1; sample < last; ++sample) {
        energy += double(sample[0]) * sample[0];
        change += double(sample[0] - sample[-1]) * (sample[0] - sample[-1]);
    }
    return {(last - first) / Rate, Rate / (2 * M_PI) * std::sqrt(change / energy)};
}

} // namespace

class SoundTest : public QObject
{
    Q_OBJECT

private slots:
    // Answers 60 ms apart in a new game, so that each cue is the first play of
    // its file. The last one must be heard whole, 98 % of its sound or more.
    void eachAnswerPlaysItsCueWhole_data()
    {
        if (qEnvironmentVariableIsEmpty("GOMIRLO_SOUND_SINK"))
            QSKIP("no sound server with a null sink is running (scripts/test.sh starts one)");
        QTest::addColumn<QList<bool>>("rightAnswers"); // the last one's cue is bright, else low
        QTest::addColumn<double>("brightnessFrom"); // seconds into the sound
        QTest::addColumn<bool>("cuesHidden");
        QTest::newRow("right: bright") << QList{true} << 0.0 << false;
        QTest::newRow("wrong: low") << QList{false} << 0.0 << false;
        // The bright cue lasts 0.35 s: from 0.1 s on, only the low one is left.
        QTest::newRow("a second cue cuts the first off") << QList{true, false} << 0.1 << false;
        QTest::newRow("without the cue files: silent") << QList{true, false} << 0.0 << true;
    }
    void eachAnswerPlaysItsCueWhole()
    {
        QFETCH(QList<bool>, rightAnswers);
        QFETCH(double, brightnessFrom);
        QFETCH(bool, cuesHidden);
        QDir folder(QCoreApplication::applicationDirPath());
        QFile wave(folder.filePath(QString(CueFiles::Folder) + u'/' + (rightAnswers.last() ? CueFiles::RightAnswer : CueFiles::WrongAnswer)));
        QVERIFY(wave.open(QIODevice::ReadOnly));
        const QByteArray bytes = wave.readAll();
        const double cueSeconds = hear(bytes.mid(bytes.indexOf("data") + 8)).first;
        // Hidden from the game, and put back however the test ends (no other
        // test runs meanwhile).
        if (cuesHidden)
            QVERIFY(folder.rename(CueFiles::Folder, u"hidden"_s));
        const auto putBack = qScopeGuard([&] { cuesHidden &&folder.rename(u"hidden"_s, CueFiles::Folder); });

        GameWindow game;
        game.start();
        // 2 ms of latency: the server mixes the start of a new stream into
        // sound the monitor may have passed on already, up to that much.
        QProcess parec;
        parec.start(u"parec"_s, {u"--device=%1.monitor"_s.arg(qEnvironmentVariable("GOMIRLO_SOUND_SINK")), u"--raw"_s, u"--format=s16le"_s, u"--rate=44100"_s, u"--channels=1"_s, u"--latency-msec=2"_s});
        parec.waitForReadyRead(10000);
        for (const bool right : rightAnswers) {
            game.answer(right ? QString::number(game.rightAnswer()) : u"0"_s);
            QTest::qWait(60); // a wrong answer follows in the same box: "130" after "13"
        }
        QTest::qWait(1000);
        parec.terminate();
        parec.waitForFinished();
        const auto [seconds, brightness] = hear(parec.readAllStandardOutput(), brightnessFrom);

        QCOMPARE(game.caption("lblScore2"), QString::number(rightAnswers.size()));
        QCOMPARE(game.dialogs.calls.size(), 2); // name and greeting: nothing about sound
        const bool itsCue = rightAnswers.last() ? brightness > 600 : brightness < 400;
        const bool heardRight = cuesHidden ? seconds == 0 : seconds >= 0.98 * cueSeconds && itsCue;
        QVERIFY2(heardRight, qPrintable(u"%1 s of %2 s, %3 Hz"_s.arg(seconds).arg(cueSeconds).arg(brightness)));
    }

    // A sound server that takes the connection and then never answers, as a
    // hung one does, keeps the cue waiting, never the window.
    void aSoundServerThatNeverAnswersHoldsUpNothing()
    {
        const QTemporaryDir folder;
        const QString socket = folder.filePath(u"native"_s);
        QProcess server; // silent for two seconds, then it hangs up
        server.start(u"python3"_s, {u"-c"_s, u"import socket, sys, time\ns = socket.socket(socket.AF_UNIX)\n"
                                             "s.bind(sys.argv[1])\ns.listen()\nheld = s.accept()\ntime.sleep(2)"_s,
                                    socket});
        QTRY_VERIFY(QFile::exists(socket));
        const auto restore = qScopeGuard([previous = qgetenv("PULSE_SERVER")] {
            previous.isNull() ? qunsetenv("PULSE_SERVER") : qputenv("PULSE_SERVER", previous);
        });
        qputenv("PULSE_SERVER", "unix:" + QFile::encodeName(socket));
        GameWindow game;
        game.start();
        game.answer(u"0"_s);
        QElapsedTimer held;
        held.start();
        QTest::qWait(100); // the cue's turn in the event loop, had it one
        QVERIFY2(held.elapsed() < 1000, qPrintable(u"the window waited %1 ms"_s.arg(held.elapsed())));
    }
};

QTEST_MAIN(SoundTest)
#include "test_sound.moc"
