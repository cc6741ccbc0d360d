// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// One run of the cue benchmark (bench/cues.sh runs several and sums them up).
// The real game window judges answers, right and wrong in turn, while the
// monitor of the sound server's null sink is recorded; after each cue of the
// game, paplay plays the same file, as the reference of what the server can do.
// Each play is then found in the recording by cross-correlation with its file,
// and one line per play tells how much of the file's sound was heard and when
// it began:
//
//   game Esatto.wav 1 share=0.703 onset_ms=23.1
//
// The onset counts from the Return key for the game, and from its launch for
// paplay. Usage: bench_cues [--first right|wrong] [--plays N]
#include "cuefiles.h"
#include "gamewindow.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <map>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// The cue files and the null sink are both 16-bit mono at this rate, so the
// recording can be compared with a file sample for sample.
constexpr int Rate = 44100;
// A stretch of 5 ms is the unit of "heard".
constexpr int Block = Rate / 200;
// A block of the file that is quieter than this (1 % of full scale, RMS) is
// the tail of a fade, not part of its sound.
constexpr double SoundRms = 328;

using Clock = std::chrono::steady_clock;
double now()
{
    return std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
}

// The samples of a 16-bit PCM mono WAV file (the data chunk, wherever it lies).
std::vector<float> readWave(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    const QByteArray bytes = file.readAll();
    const qsizetype data = bytes.indexOf("data") + 8;
    std::vector<float> samples;
    for (qsizetype i = data; i + 1 < bytes.size(); i += 2)
        samples.push_back(qint16(quint8(bytes[i]) | quint8(bytes[i + 1]) << 8));
    return samples;
}

// Records the sink's monitor with parec in a thread of its own. The time at
// which sample 0 passed the monitor is, near any moment, the earliest of (time
// of a read minus the samples received until then) over the reads of the
// second around it: a read can come late, never early, and the sink's clock
// drifts from the system's (0.4 ms in 10 s here), so a single figure for the
// whole recording would not do.
//
// The recorder asks for 2 ms of latency, and the null sink then renders no
// more than that ahead. A new stream makes the server rewind the sink and mix
// the stream's start into what it had rendered ahead; the monitor has passed
// that on already, so a recording misses up to its own latency of the start
// of every stream (paplay's too). 2 ms of a cue's fade-in is below what
// counts as heard; 5 ms already cost paplay a block.
class Recorder
{
public:
    explicit Recorder(const QString &sink)
    {
        int pipeFds[2];
        if (pipe(pipeFds) != 0)
            qFatal("no pipe");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
        const QByteArray device = "--device=" + sink.toUtf8() + ".monitor";
        const char *argv[] = {"parec", device.constData(), "--raw", "--format=s16le", "--rate=44100",
                              "--channels=1", "--latency-msec=2", nullptr};
        if (posix_spawnp(&m_pid, "parec", &actions, nullptr, const_cast<char **>(argv), environ) != 0)
            qFatal("parec did not start");
        posix_spawn_file_actions_destroy(&actions);
        close(pipeFds[1]);
        m_reader = std::thread([this, fd = pipeFds[0]] { read(fd); });
        while (samples() < Rate / 2) // half a second of silence first: the stream runs
            QTest::qWait(50);
    }
    ~Recorder() { stop(); }

    void stop()
    {
        if (m_pid) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
            m_pid = 0;
            m_reader.join();
        }
    }
    qsizetype samples() const { return m_count; }
    const std::vector<float> &recording() const { return m_samples; }
    // The index of the sample that passed the monitor at a time, and the time
    // of a sample near that time.
    qsizetype indexAt(double time) const { return qsizetype(std::lround((time - startNear(time)) * Rate)); }
    double timeOf(double index, double near) const { return startNear(near) + index / Rate; }

private:
    void read(int fd)
    {
        char buffer[4096];
        ssize_t got;
        QByteArray pending;
        while ((got = ::read(fd, buffer, sizeof buffer)) > 0) {
            const double time = now();
            pending.append(buffer, got);
            const qsizetype whole = pending.size() / 2;
            for (qsizetype i = 0; i < whole; ++i)
                m_samples.push_back(qint16(quint8(pending[2 * i]) | quint8(pending[2 * i + 1]) << 8));
            pending.remove(0, whole * 2);
            m_reads.push_back({time, time - double(m_samples.size()) / Rate});
            m_count = qsizetype(m_samples.size());
        }
        close(fd);
    }

    pid_t m_pid = 0;
    std::thread m_reader;
    std::vector<float> m_samples; // written by the reader only, read after stop()
    std::atomic<qsizetype> m_count = 0;
    struct Read {
        double time;  // when it returned
        double start; // when sample 0 passed the monitor, as this read tells
    };
    std::vector<Read> m_reads; // like m_samples
    double startNear(double time) const
    {
        double start = 1e300;
        for (const Read &read : m_reads) {
            if (std::abs(read.time - time) < 0.5)
                start = std::min(start, read.start);
        }
        return start;
    }
};

struct Play {
    QString who; // "game" or "paplay"
    QString file;
    int nth;      // 1 for the first play of this file by this player in the run
    double start; // the Return key, or paplay's launch
};

struct Heard {
    double share;   // of the file's 5 ms blocks with sound, those heard
    double onsetMs; // from the start of the play to the file's first sound heard
};

// Finds the file in the recording where it can have begun (around the start
// of the play to half a second later) by cross-correlation, then compares it block
// by block: a block is heard when the recording matches the file there to
// within a quarter of the file's energy in that block.
Heard measure(const Recorder &recorder, const std::vector<float> &file, const Play &play)
{
    const std::vector<float> &rec = recorder.recording();
    // From 20 ms before the start: the time of a sample is known to a few
    // milliseconds, and a sound found too early should show as such.
    const qsizetype from = std::max<qsizetype>(0, recorder.indexAt(play.start) - Rate / 50);
    const qsizetype to = std::min<qsizetype>(qsizetype(rec.size()) - qsizetype(file.size()), from + Rate / 2);
    const auto correlation = [&](qsizetype at) {
        float sum = 0;
        for (size_t i = 0; i < file.size(); ++i)
            sum += rec[at + i] * file[i];
        return sum;
    };
    // Every fourth lag first (the peak is wider than that even at the highest
    // note), then the lags around the best one.
    qsizetype lag = from;
    float best = 0;
    for (qsizetype at = from; at < to; at += 4) {
        if (const float sum = correlation(at); sum > best) {
            best = sum;
            lag = at;
        }
    }
    for (qsizetype at = std::max(from, lag - 3); at < std::min(to, lag + 4); ++at) {
        if (const float sum = correlation(at); sum > best) {
            best = sum;
            lag = at;
        }
    }
    int blocks = 0, heard = 0;
    for (size_t b = 0; b + Block <= file.size(); b += Block) {
        double energy = 0, error = 0;
        for (size_t i = b; i < b + Block; ++i) {
            energy += double(file[i]) * file[i];
            const double difference = rec[lag + i] - file[i];
            error += difference * difference;
        }
        if (std::sqrt(energy / Block) >= SoundRms) {
            ++blocks;
            heard += error < energy / 4;
        }
    }
    if (heard == 0)
        return {0, NAN};
    // The onset is where the file's first sound lies in the recording, as
    // the cross-correlation placed the whole file.
    size_t firstSound = 0;
    while (std::abs(file[firstSound]) < SoundRms / 10)
        ++firstSound;
    return {double(heard) / blocks, (recorder.timeOf(double(lag + qsizetype(firstSound)), play.start) - play.start) * 1000};
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const bool rightFirst = args.indexOf(u"--first"_s) < 0 || args.value(args.indexOf(u"--first"_s) + 1) != u"wrong"_s;
    const int plays = args.indexOf(u"--plays"_s) < 0 ? 5 : args.value(args.indexOf(u"--plays"_s) + 1).toInt();
    const QString sink = qEnvironmentVariable("GOMIRLO_SOUND_SINK");
    if (sink.isEmpty())
        qFatal("GOMIRLO_SOUND_SINK is not set: run bench/cues.sh, which starts a sound server");

    const QString folder = QCoreApplication::applicationDirPath() + u'/' + CueFiles::Folder + u'/';
    const std::map<QString, std::vector<float>> files = {{CueFiles::RightAnswer, readWave(folder + CueFiles::RightAnswer)},
                                                         {CueFiles::WrongAnswer, readWave(folder + CueFiles::WrongAnswer)}};
    // Long enough for the longest cue, and for the server to be quiet again.
    constexpr int Gap = 1200;

    std::vector<Play> log;
    std::map<QString, int> count;
    Recorder recorder(sink);
    GameWindow game;
    game.start();
    for (int round = 0; round < plays; ++round) {
        for (const bool right : {rightFirst, !rightFirst}) {
            const QString file = right ? CueFiles::RightAnswer : CueFiles::WrongAnswer;
            QTest::keyClicks(game.answerBox(), right ? QString::number(game.state().ExpectedAnswer.value()) : u"0"_s);
            log.push_back({u"game"_s, file, ++count[u"game"_s + file], now()});
            QTest::keyClick(game.answerBox(), Qt::Key_Return);
            QTest::qWait(Gap);
            game.nextButton()->click();

            QProcess paplay;
            log.push_back({u"paplay"_s, file, ++count[u"paplay"_s + file], now()});
            paplay.start(u"paplay"_s, {folder + file});
            QTest::qWait(Gap);
            paplay.waitForFinished();
        }
    }
    recorder.stop();

    for (const Play &play : log) {
        const Heard heard = measure(recorder, files.at(play.file), play);
        std::printf("%s %s %d share=%.3f onset_ms=%.1f\n", qPrintable(play.who), qPrintable(play.file), play.nth,
                    heard.share, heard.onsetMs);
    }
    std::fflush(stdout);
    return 0;
}
