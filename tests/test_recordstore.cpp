// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The record files on disk: a new record written whole or not at all,
// whatever step fails or crashes, and whatever another copy of the game does at
// the same time; the earlier program's record taken over once.
#include "faultyfilesystem.h"
#include "recordfolder.h"
#include "recordstore.h"
#include "runtimeerror.h"

#include <QDir>
#include <QProcess>
#include <QTest>

#ifndef Q_OS_WIN
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

namespace {

const Files OldPair = {{Score, "7\r\n"_ba}, {Name, "Bea\r\n"_ba}};
const Files NewPair = {{Score, "12\r\n"_ba}, {Name, "Anna\r\n"_ba}};

// Saves the pair as a game does, whatever the record stored.
void save(const QString &folder, const Files &pair)
{
    RecordStore::writeRecord(folder, QString::fromUtf8(pair[Score]).trimmed(), QString::fromUtf8(pair[Name]).trimmed(),
                             [](const QString &) { return true; });
}

// How an action went with its step number `at` going wrong: whether it got
// that far, and the failure it reported: the error's number and the file its
// message names (-1 for a crash, 0 for none).
struct Outcome {
    bool reached = false;
    int code = 0;
    QString file;
};
Outcome run(const std::function<void()> &action, Faults::Kind kind = Faults::None, int at = 0)
{
    Faults::reset(kind, at);
    Outcome outcome;
    try {
        action();
    } catch (const RuntimeError &error) {
        outcome = {false, int(error.code()), error.message().contains(QDir::toNativeSeparators(error.file())) ? error.file() : QString()};
    } catch (const Faults::Crashed &) {
        outcome.code = -1;
    }
    outcome.reached = Faults::steps >= at;
    Faults::reset();
    return outcome;
}

} // namespace

class RecordStoreTest : public QObject
{
    Q_OBJECT

private slots:
    // Each step of a save is made to go wrong in turn, and after a crash, each
    // step of the next start or save, which begin by recovering: the pair on
    // disk is always one whole record, or the next start makes it one, and
    // nothing else is left beside it.
    void everyStepOfASaveMayGoWrong_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("links");
        QTest::newRow("a step fails") << int(Faults::Refuse) << true;
        QTest::newRow("a step fails, no hard links") << int(Faults::Refuse) << false;
        QTest::newRow("a rename done, then reported failed") << int(Faults::RefuseAfterDoing) << true;
        QTest::newRow("every rename from a step on fails") << int(Faults::RenamesFail) << true;
        QTest::newRow("a crash, then a step of the next start fails") << int(Faults::Crash) << true;
        QTest::newRow("the same without hard links") << int(Faults::Crash) << false;
    }
    void everyStepOfASaveMayGoWrong()
    {
        QFETCH(int, kind);
        QFETCH(bool, links);
        const QTemporaryDir home;
        const QString folder = home.path();
        Faults::noLinks = !links;
        const auto savedUntil = [&](int step) {
            QDir(folder).removeRecursively();
            putFiles(folder, OldPair);
            return run([&] { save(folder, NewPair); }, Faults::Kind(kind), step);
        };
        // A crash leaves the lock's file where the system keeps it.
        const auto nextStart = [&] {
            putFiles(folder, {{u"gomirlo.lock"_s, {}}});
            RecordStore::open(folder, {});
            return filesIn(folder);
        };
        for (int step = 1;; ++step) {
            const Outcome first = savedUntil(step);
            if (!first.reached) {
                QCOMPARE(filesIn(folder), NewPair);
                break;
            }
            if (kind == Faults::Refuse && first.code)
                QCOMPARE(filesIn(folder), OldPair); // a failure leaves nothing behind
            if (kind != Faults::Crash) {
                QVERIFY2(nextStart() == (first.code ? OldPair : NewPair), qPrintable(u"step %1"_s.arg(step)));
                continue;
            }
            // The save is done once the name has replaced its file.
            const Files left = filesIn(folder).value(Name) == NewPair[Name] ? NewPair : OldPair;
            const Files next{{Score, "15\r\n"}, {Name, "Ugo\r\n"}};
            for (const bool saving : {false, true}) {
                for (int nextStep = 1;; ++nextStep) {
                    savedUntil(step);
                    const Outcome then = run([&] { saving ? save(folder, next) : void(RecordStore::open(folder, {})); },
                                             Faults::Refuse, nextStep);
                    QVERIFY2(nextStart() == (then.code || !saving ? left : next),
                             qPrintable(u"crash at step %1, then step %2"_s.arg(step).arg(nextStep)));
                    if (!then.reached)
                        break;
                }
            }
        }
        Faults::noLinks = false;
    }

    // A first start that cannot make the files says what failed, not what
    // failed later for want of them.
    void aStartReportsTheStepThatFailed()
    {
        for (int step = 1;; ++step) {
            const QTemporaryDir home;
            const Outcome start = run([&] { RecordStore::open(home.path(), {}); }, Faults::Refuse, step);
            if (!start.reached)
                break;
            QCOMPARE(start.code, int(RuntimeError::FileAccess)); // as the refused step's error reads
        }
    }

    void theEarlierProgramsRecordIsTakenOverOnlyByTheStartThatMakesTheFolder_data()
    {
        QTest::addColumn<Files>("before"); // the record folder, if it is there already
        QTest::addColumn<QList<Files>>("earlier"); // in the order the system gives them
        QTest::addColumn<Files>("after");
        const Files none{{Score, ""}, {Name, ""}}, bea{{Score, "9\r\n"}, {Name, "Be\xe0\r\n"}}, ugo{{Score, "5\r\n"}, {Name, "Ugo\r\n"}};
        QTest::newRow("the first there") << Files() << QList<Files>{bea, ugo} << bea;
        QTest::newRow("no score: the next") << Files() << QList<Files>{{{Score, ""}, {Name, "Ugo\r\n"}}, bea} << bea;
        QTest::newRow("no name file: the next") << Files() << QList<Files>{{{Score, "5\r\n"}}, bea} << bea;
        QTest::newRow("unreadable: the next") << Files() << QList<Files>{{{Score, "<dir>"}, {Name, "Ugo\r\n"}}, bea} << bea;
        QTest::newRow("none anywhere") << Files() << QList<Files>{{}, {}} << none;
        QTest::newRow("its own record wins") << ugo << QList<Files>{bea} << ugo;
        QTest::newRow("a reset stays") << none << QList<Files>{bea} << none;
    }
    void theEarlierProgramsRecordIsTakenOverOnlyByTheStartThatMakesTheFolder()
    {
        QFETCH(Files, before);
        QFETCH(QList<Files>, earlier);
        QFETCH(Files, after);
        const QTemporaryDir home;
        QStringList folders;
        for (const Files &files : earlier) {
            folders << home.filePath(QString::number(folders.size()));
            putFiles(folders.last(), files);
        }
        if (!before.isEmpty())
            putFiles(home.filePath(u"gomirlo"_s), before);
        RecordStore::open(home.filePath(u"gomirlo"_s), folders);
        QCOMPARE(filesIn(home.filePath(u"gomirlo"_s)), after);
        for (int i = 0; i < earlier.size(); ++i)
            QCOMPARE(filesIn(folders[i]), earlier[i]); // only read
    }

    void theRecordFolderIsMadeDurableWithTheFoldersAboveIt()
    {
        // A first record would go with a power cut that took its new folder.
        const QTemporaryDir home;
        Faults::log.clear();
        RecordStore::open(home.filePath(u"new/deeper/gomirlo/"_s), {});
        QCOMPARE(Faults::log.join(u'\n').replace(home.path(), u"~"_s),
                 u"made ~/new\nsynced ~\nmade ~/new/deeper\nsynced ~/new\nmade ~/new/deeper/gomirlo\nsynced ~/new/deeper"_s);
    }
#ifndef Q_OS_WIN
    // Four copies of the game save the scores 1 to 40 in turn into one folder
    // that holds no record files yet, each only when it beats the record it
    // finds there.
    void copiesSavingAtOnceKeepTheHighestRecordWhole()
    {
        const QTemporaryDir home;
        QList<pid_t> copies;
        for (int copy = 0; copy < 4; ++copy) {
            if (const pid_t pid = ::fork()) {
                copies << pid;
                continue;
            }
            int failures = 0;
            for (int score = 1 + copy; score <= 40; score += 4) {
                const QString text = QString::number(score);
                failures += run([&] {
                                RecordStore::writeRecord(home.path(), text, u"Bimbo "_s + text,
                                                         [&](const QString &stored) { return score > stored.trimmed().toInt(); });
                            }).code
                    != 0;
            }
            ::_exit(failures);
        }
        for (const pid_t copy : copies) {
            int status = -1;
            ::waitpid(copy, &status, 0);
            QCOMPARE(status, 0);
        }
        QCOMPARE(filesIn(home.path()), (Files{{Score, "40\r\n"}, {Name, "Bimbo 40\r\n"}}));
    }

    void aCopyThatWaitsTooLongForTheLockSaysTheFolderIsInUse()
    {
        const QTemporaryDir home;
        const QString lock = home.filePath(u"gomirlo.lock"_s);
        putFiles(home.path(), OldPair);
        QProcess other; // a copy that hangs while it holds the lock
        other.start(u"flock"_s, {lock, u"sleep"_s, u"10"_s});
        QTRY_VERIFY(QFile::exists(lock));
        const Outcome waited = run([&] { RecordStore::open(home.path(), {}); });
        other.kill();
        other.waitForFinished();
        QCOMPARE(std::pair(waited.code, waited.file), std::pair(int(RuntimeError::PermissionDenied), lock));
        QVERIFY(QFile::remove(lock)); // the other copy's
        QCOMPARE(filesIn(home.path()), OldPair);
    }

#endif
};

QTEST_GUILESS_MAIN(RecordStoreTest)
#include "test_recordstore.moc"
