// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The cues, heard for real: the test suite runs a sound server whose only
// output is a null sink, and these tests record that sink while the game plays.
#include "gamewindow.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace Qt::StringLiterals;

namespace {

constexpr int Rate = 44100;
constexpr int Loud = 1500; // a sample above this is sound, not noise

// What the sink played while a piece of the test ran.
struct Heard {
    QList<qint16> samples;

    // First and one-past-last loud sample, or an empty range.
    std::pair<qsizetype, qsizetype> audible() const
    {
        qsizetype first = -1, last = -1;
        for (qsizetype i = 0; i < samples.size(); ++i) {
            if (std::abs(samples[i]) > Loud) {
                if (first < 0)
                    first = i;
                last = i + 1;
            }
        }
        return {first, last};
    }
    double seconds() const
    {
        const auto [first, last] = audible();
        return first < 0 ? 0.0 : double(last - first) / Rate;
    }
    // The pitch of a stretch of the sound, from its zero crossings.
    double pitch(qsizetype from, qsizetype to) const
    {
        int crossings = 0;
        for (qsizetype i = from + 1; i < to; ++i)
            crossings += (samples[i - 1] < 0) != (samples[i] < 0);
        return crossings / 2.0 / (double(to - from) / Rate);
    }
    double pitchOfTheEnd() const
    {
        const auto [first, last] = audible();
        return pitch(std::max(first, last - Rate / 10), last);
    }
};

template<typename Action>
Heard listen(Action action, int millisecondsAfter = 1500)
{
    QProcess recorder;
    recorder.start(u"parec"_s, {u"--device=%1.monitor"_s.arg(qEnvironmentVariable("GOMIRLO_SOUND_SINK")), u"--raw"_s,
                                u"--format=s16le"_s, u"--rate=44100"_s, u"--channels=1"_s, u"--latency-msec=20"_s});
    if (!recorder.waitForStarted())
        qFatal("parec did not start");
    QTest::qWait(600); // until the recorder is connected and streaming
    action();
    QTest::qWait(millisecondsAfter);
    recorder.terminate();
    recorder.waitForFinished();
    const QByteArray bytes = recorder.readAllStandardOutput();
    Heard heard;
    heard.samples.resize(bytes.size() / 2);
    if (!heard.samples.isEmpty())
        std::memcpy(heard.samples.data(), bytes.constData(), size_t(heard.samples.size()) * 2);
    return heard;
}

} // namespace

class SoundTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("GOMIRLO_SOUND_SINK") && qEnvironmentVariableIsEmpty("GOMIRLO_CHILD"))
            QSKIP("no sound server with a null sink is running (scripts/test.sh starts one)");
    }

    void eachAnswerPlaysItsCue_data()
    {
        QTest::addColumn<bool>("right");
        QTest::newRow("right: bright") << true;
        QTest::newRow("wrong: low") << false;
    }
    void eachAnswerPlaysItsCue()
    {
        QFETCH(bool, right);
        GameWindow game;
        game.start();
        // The recorder itself sometimes misses the start of a stream on a busy
        // machine; the game gets three questions to be heard.
        Heard heard;
        for (int attempt = 0; attempt < 3 && heard.seconds() < 0.1; ++attempt) {
            heard = listen([&] { game.answer(right ? QString::number(game.state().ExpectedAnswer.value()) : u"0"_s); });
            game.nextButton()->click();
        }
        const auto [first, last] = heard.audible();
        QVERIFY2(heard.seconds() >= 0.1 && heard.seconds() < 0.6, qPrintable(QString::number(heard.seconds())));
        const double pitch = heard.pitch(first, last);
        QVERIFY2(right ? pitch > 600 : pitch < 400, qPrintable(QString::number(pitch)));
    }

    void aSecondCueCutsTheFirstOff()
    {
        GameWindow game;
        game.start();
        // Warm the sound up, so that both cues start at once below.
        listen([&] { game.answer(u"0"_s); }, 700);
        game.nextButton()->click();
        const Heard heard = listen([&] {
            game.answer(QString::number(game.state().ExpectedAnswer.value()));
            QTest::qWait(60);
            game.state().ExpectedAnswer = 0; // the same Enter again is now wrong
            QTest::keyClick(game.answerBox(), Qt::Key_Return);
        });
        // The low cue plays whole after a short start of the bright one; the
        // two one after the other would last about 0.8 s.
        QVERIFY2(heard.seconds() > 0.1 && heard.seconds() < 0.65, qPrintable(QString::number(heard.seconds())));
        QVERIFY2(heard.pitchOfTheEnd() < 400, qPrintable(QString::number(heard.pitchOfTheEnd())));
    }

    // Run in a copy of this program that has no cues beside it.
    void judgeWithoutCues()
    {
        if (qEnvironmentVariableIsEmpty("GOMIRLO_CHILD"))
            QSKIP("runs only as the child of withoutTheCuesTheGameIsSilent");
        QVERIFY(!QDir(QCoreApplication::applicationDirPath() + u"/suoni"_s).exists());
        GameWindow game;
        game.start();
        game.answer(QString::number(game.state().ExpectedAnswer.value()));
        game.nextButton()->click();
        game.answer(u"0"_s);
        QTest::qWait(500);
        QCOMPARE(game.caption("lblScore2"), u"2"_s);
        QCOMPARE(game.dialogs.calls.size(), 2); // name and greeting: nothing about sound
        QVERIFY(!game.exit.status);
    }

    void withoutTheCuesTheGameIsSilent()
    {
        if (!qEnvironmentVariableIsEmpty("GOMIRLO_CHILD"))
            QSKIP("this is the child");
        QTemporaryDir folder;
        const QString copy = folder.filePath(u"gomirlo-sound-test"_s);
        QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), copy));
        QVERIFY(QFile::setPermissions(copy, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"GOMIRLO_CHILD"_s, u"1"_s);
        child.setProcessEnvironment(environment);
        const Heard heard = listen([&] {
            child.start(copy, {u"judgeWithoutCues"_s});
            QVERIFY(child.waitForFinished(60000));
        }, 300);
        QVERIFY2(child.exitCode() == 0, child.readAllStandardOutput().constData());
        QCOMPARE(heard.seconds(), 0.0);
    }
};

// Ends like the game does, on the spot: Qt 6.4's PulseAudio back end can abort
// in its own clean-up at a normal exit after cues have played.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    SoundTest test;
    const int failures = QTest::qExec(&test, argc, argv);
    std::fflush(nullptr);
    std::_Exit(failures == 0 ? 0 : 1);
}

#include "test_sound.moc"
