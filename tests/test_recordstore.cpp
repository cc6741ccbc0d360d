// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The record files on disk: where they lie, reading them within a bound, and a
// new record that is written whole or not at all, whatever fails or crashes.
#include "diskwatch.h"
#include "recordfolder.h"
#include "recordstore.h"
#include "runtimeerror.h"

#include <QDir>
#include <QProcess>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

using namespace Qt::StringLiterals;

namespace {

const Files OldPair = {{Score, "7\r\n"_ba}, {Name, "Bea\r\n"_ba}};

// What a failure tells the user: the error's number, and the file that its
// message names; nothing when the action succeeds.
std::pair<int, QString> failureOf(const auto &action)
{
    try {
        action();
    } catch (const RuntimeError &error) {
        const QString file = QDir::cleanPath(error.file());
        return {int(error.code()), error.message().contains(file) ? file : QString()};
    }
    return {};
}

} // namespace

class RecordStoreTest : public QObject
{
    Q_OBJECT

private slots:
    void readsAFileWholeUpToTheBound_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        const int bound = int(RecordStore::MaxReadBytes);
        QTest::newRow("empty, as created") << QByteArray() << QString();
        QTest::newRow("lines edited by hand") << "Anna\r\nBea\nCarlo\r\n\r\n"_ba << u"Anna\r\nBea\nCarlo\r\n\r\n"_s;
        QTest::newRow("past the bound") << QByteArray(bound, 'a') + "xyz" << QString(bound, u'a');
        QTest::newRow("UTF-8 char cut by the bound") << QByteArray(bound - 1, 'a') + "\xC3\xB2" << QString(bound - 1, u'a');
        QTest::newRow("UTF-8 char up to the bound, exactly") << QByteArray(bound - 2, 'a') + "\xC3\xB2" << QString(bound - 2, u'a') + u'ò';
    }
    void readsAFileWholeUpToTheBound()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        const RecordFolder folder;
        folder.put({{Score, bytes}});
        QCOMPARE(RecordStore::Leggifiletxt(folder.path() + u'/' + RecordStore::ScoreFile), text);
    }

    void aFailedWriteKeepsTheOldPair_data()
    {
        QTest::addColumn<Files>("blockers"); // a folder stands where the write needs a file
        QTest::addColumn<QString>("immutable"); // or a file that no one may change
        QTest::addColumn<QString>("failing"); // the file the error names
        QTest::addColumn<int>("code");
        const Files none;
        QTest::newRow("folder gone") << none << QString() << u"missing/"_s + Score << int(RuntimeError::PathNotFound);
        QTest::newRow("disk full") << none << QString() << Score << int(RuntimeError::FileAccess);
        QTest::newRow("new score cannot be made") << Files{{Score + ".new", "<dir>"}} << QString() << Score << int(RuntimeError::FileAccess);
        QTest::newRow("new name cannot be made") << Files{{Name + ".new", "<dir>"}} << QString() << Name << int(RuntimeError::FileAccess);
        QTest::newRow("old score cannot be kept") << Files{{Score + ".old", "<dir>"}} << QString() << Score << int(RuntimeError::FileAccess);
        QTest::newRow("name file is a folder") << Files{{Name, "<dir>"}} << QString() << Name << int(RuntimeError::FileAccess);
        QTest::newRow("score file immutable") << none << Score << Score << int(RuntimeError::PermissionDenied);
        QTest::newRow("name file immutable") << none << Name << Name << int(RuntimeError::PermissionDenied);
    }
    void aFailedWriteKeepsTheOldPair()
    {
        QFETCH(Files, blockers);
        QFETCH(QString, immutable);
        QFETCH(QString, failing);
        QFETCH(int, code);
        Files before = OldPair;
        before.insert(blockers);
        const RecordFolder folder;
        folder.put(before);
        const QString file = folder.path() + u'/' + immutable;
        if (!immutable.isEmpty() && QProcess::execute(u"chattr"_s, {u"+i"_s, file}) != 0)
            QSKIP("making a file immutable needs root and a file system that allows it");
        // A full disk: no file may grow past its first byte while the record is written.
        const bool full = QByteArrayView(QTest::currentDataTag()) == "disk full";
        rlimit saved{};
        ::getrlimit(RLIMIT_FSIZE, &saved);
        const rlimit oneByte{1, saved.rlim_max};
        if (full && (std::signal(SIGXFSZ, SIG_IGN) == SIG_ERR || ::setrlimit(RLIMIT_FSIZE, &oneByte) != 0))
            QFAIL("cannot limit the size of files");
        const QString winDir = folder.path() + (failing.startsWith(u"missing"_s) ? u"/missing/"_s : u"/"_s);
        const auto failure = failureOf([&] { RecordStore::writeRecord(winDir, u"12"_s, u"Anna"_s); });
        ::setrlimit(RLIMIT_FSIZE, &saved);
        if (!immutable.isEmpty())
            QProcess::execute(u"chattr"_s, {u"-i"_s, file});

        QCOMPARE(failure, std::pair(code, folder.path() + u'/' + failing));
        // The old record stands byte for byte, and nothing else is left behind.
        QCOMPARE(folder.files(), before);
    }

    void anInterruptedWriteIsCompletedOrUndone_data()
    {
        QTest::addColumn<Files>("before");
        QTest::addColumn<Files>("after");
        // The steps of a write, in order; a crash may stop it after any of them.
        Files step = OldPair;
        QTest::newRow("nothing pending") << step << OldPair;
        step.insert(Score + ".new", "12\r\n"_ba);
        QTest::newRow("new score written") << step << OldPair;
        step.insert(Name + ".new", "Anna\r\n"_ba);
        QTest::newRow("new name written") << step << OldPair;
        // Without hard links the old score is copied aside, under a name of its own.
        Files copying = step;
        copying.insert(Score + ".old.new", "7"_ba);
        QTest::newRow("old score half copied") << copying << OldPair;
        step.insert(Score + ".old", "7\r\n"_ba);
        QTest::newRow("old score kept aside") << step << OldPair;
        step.insert(Score, step.take(Score + ".new"));
        QTest::newRow("score replaced, name not") << step << OldPair;
        step.insert(Name, step.take(Name + ".new"));
        QTest::newRow("both replaced") << step << Files{{Score, "12\r\n"_ba}, {Name, "Anna\r\n"_ba}};
    }
    void anInterruptedWriteIsCompletedOrUndone()
    {
        QFETCH(Files, before);
        QFETCH(Files, after);
        const RecordFolder folder;
        folder.put(before);
        RecordStore::recoverInterruptedWrite(folder.path() + u'/');
        QCOMPARE(folder.files(), after);
    }

    void theRecordFolderIsMadeDurableWithTheFoldersAboveIt()
    {
        // A first record would go with a power cut that took its new folder.
        const RecordFolder folder;
        const QString home = QFileInfo(folder.path()).path();
        qputenv("XDG_DATA_HOME", QFile::encodeName(home + u"/new/deeper"_s));
        diskLog.clear();
        QCOMPARE(RecordStore::GetSystemDir(), home + u"/new/deeper/gomirlo/"_s);
        QCOMPARE(diskLog.join(u'\n').replace(home, u"~"_s),
                 u"made ~/new\nsynced ~\nmade ~/new/deeper\nsynced ~/new\nmade ~/new/deeper/gomirlo\nsynced ~/new/deeper"_s);
    }
};

QTEST_GUILESS_MAIN(RecordStoreTest)
#include "test_recordstore.moc"
