// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The record files on disk: where they lie, their bytes, reading them, and a
// new record that is written whole or not at all.
#include "errorfrom.h"
#include "recordfolder.h"
#include "recordstore.h"
#include "recordtext.h"
#include "runtimeerror.h"

#include <QDir>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <optional>
#include <sys/resource.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

// The entries of a folder by name with their bytes; a folder reads "<dir>".
using Files = QMap<QString, QByteArray>;

char *toString(const Files &files)
{
    QStringList entries;
    for (auto file = files.begin(); file != files.end(); ++file)
        entries << file.key() + u'=' + QString::fromUtf8(QByteArray(file.value()).replace("\r", "\\r").replace("\n", "\\n"));
    return QTest::toString(entries.join(u", "));
}

namespace {

const QString Score = u"gomirlo10.txt"_s;
const QString Name = u"gomirlo100.txt"_s;
const Files OldPair = {{Score, "7\r\n"_ba}, {Name, "Bea\r\n"_ba}};


// The error names the file, and so does the message the user reads.
bool names(const std::optional<RuntimeError> &error, const QString &path)
{
    const QString plain = QDir::cleanPath(path);
    return error && QDir::cleanPath(error->file()) == plain && error->message().contains(plain);
}

Files filesIn(const QString &folder)
{
    Files files;
    for (const QFileInfo &entry : QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot))
        files.insert(entry.fileName(), entry.isDir() ? "<dir>"_ba : readAll(entry.filePath()));
    return files;
}

void putFiles(const QString &folder, const Files &files)
{
    for (auto file = files.begin(); file != files.end(); ++file) {
        if (file.value() == "<dir>")
            QDir(folder).mkpath(file.key() + "/inside"_L1); // not empty, so nothing can replace it
        else
            writeAll(folder + u'/' + file.key(), file.value());
    }
}

// Lowers the file size limit, as a full disk would, for as long as it lives.
class FullDisk
{
public:
    FullDisk()
    {
        ::getrlimit(RLIMIT_FSIZE, &m_saved);
        m_handler = std::signal(SIGXFSZ, SIG_IGN); // a failed write, not a killed process
        const rlimit full = {1, m_saved.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &full);
    }
    ~FullDisk()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }

private:
    rlimit m_saved {};
    void (*m_handler)(int) = nullptr;
};

} // namespace

class TestRecordStore : public QObject
{
    Q_OBJECT

private slots:
    void recordFolderIsTheUsersDataFolder()
    {
        const RecordFolder folder;
        QVERIFY(!QFileInfo::exists(folder.path()));
        const QString dir = RecordStore::GetSystemDir();
        QCOMPARE(dir, QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + u'/');
        QCOMPARE(dir, folder.path() + u'/');
        QVERIFY(QFileInfo(folder.path()).isDir());
        QCOMPARE(RecordStore::GetSystemDir(), dir); // the next start finds it there
        // The names keep their leading separator; the doubled one reads as one.
        RecordStore::createWhenMissing(dir + RecordStore::NameFile);
        QVERIFY(QFileInfo::exists(folder.namePath()));
    }


    void recordLineIsTextAndCrLf_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("score 12") << u"12"_s << "\x31\x32\x0D\x0A"_ba;
        QTest::newRow("Anna") << u"Anna"_s << "\x41\x6E\x6E\x61\x0D\x0A"_ba;
        QTest::newRow("empty name") << QString() << "\x0D\x0A"_ba;
        QTest::newRow("accented name") << u"Niccolò"_s << "Niccol\xC3\xB2\r\n"_ba;
    }
    void recordLineIsTextAndCrLf()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(encodeRecordLine(text), bytes);
        QCOMPARE(decodeRecordText(bytes), text + "\r\n"_L1);
    }

    void recordTextIsUtf8OrWindows1252_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("truncated");
        QTest::addColumn<QString>("text");
        QTest::newRow("Windows-1252 name") << "Niccol\xF2\r\n"_ba << false << u"Niccolò\r\n"_s;
        QTest::newRow("Windows-1252 euro, Y diaeresis") << "\x80\x9F"_ba << false << u"€Ÿ"_s;
        QTest::newRow("byte-order mark") << "\xEF\xBB\xBF" "Anna\r\n"_ba << false << u"Anna\r\n"_s;
        QTest::newRow("byte-order mark, Windows-1252") << "\xEF\xBB\xBF" "Niccol\xF2"_ba << false << u"Niccolò"_s;
        QTest::newRow("cut 2-byte char, truncated") << "Niccol\xC3"_ba << true << u"Niccol"_s;
        QTest::newRow("cut 3-byte char, truncated") << "caff\xC3\xA8 \xE2\x82"_ba << true << u"caffè "_s;
        QTest::newRow("cut 4-byte char, truncated") << "ab\xF0\x9F\x98"_ba << true << u"ab"_s;
        QTest::newRow("whole 4-byte char, truncated") << "a\xF0\x9F\x98\x80"_ba << true << u"a😀"_s;
        QTest::newRow("cut char, not truncated") << "Niccol\xC3"_ba << false << u"NiccolÃ"_s;
        QTest::newRow("invalid inside, truncated") << "\xF2xx\xC3"_ba << true << u"òxxÃ"_s;
    }
    void recordTextIsUtf8OrWindows1252()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, truncated);
        QFETCH(QString, text);
        QCOMPARE(decodeRecordText(bytes, truncated), text);
    }

    void createWhenMissingNeverChangesAFile()
    {
        const QTemporaryDir dir;
        const QByteArray existing = "12\r\n\x00\xFF more"_ba;
        writeAll(dir.filePath(Name), existing);
        RecordStore::createWhenMissing(dir.path() + u'/' + RecordStore::ScoreFile);
        RecordStore::createWhenMissing(dir.path() + u'/' + RecordStore::NameFile);
        QCOMPARE(filesIn(dir.path()), (Files{{Score, ""_ba}, {Name, existing}}));

        const QString inMissingFolder = dir.filePath(u"missing/"_s) + RecordStore::ScoreFile;
        QVERIFY(names(errorFrom([&] { RecordStore::createWhenMissing(inMissingFolder); }), inMissingFolder));
    }

    void readsAFileWholeUpToTheBound_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        const int bound = int(RecordStore::MaxReadBytes);
        QTest::newRow("empty, as created") << QByteArray() << QString();
        QTest::newRow("lines edited by hand") << "Anna\r\nBea\nCarlo\r\n\r\n"_ba << u"Anna\r\nBea\nCarlo\r\n\r\n"_s;
        QTest::newRow("exactly the bound") << QByteArray(bound, 'a') << QString(bound, u'a');
        QTest::newRow("past the bound") << QByteArray(bound, 'a') + "xyz" << QString(bound, u'a');
        QTest::newRow("UTF-8 char cut by the bound") << QByteArray(bound - 1, 'a') + "\xC3\xB2" << QString(bound - 1, u'a');
        QTest::newRow("UTF-8 char up to the bound") << QByteArray(bound - 2, 'a') + "\xC3\xB2" << QString(bound - 2, u'a') + u'ò';
    }
    void readsAFileWholeUpToTheBound()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        const QTemporaryDir dir;
        writeAll(dir.filePath(Score), bytes);
        QCOMPARE(RecordStore::Leggifiletxt(dir.path() + u'/' + RecordStore::ScoreFile), text);
    }

    void readsAHugeFileOnlyToTheBoundQuickly()
    {
        const QTemporaryDir dir;
        writeAll(dir.filePath(Name), QByteArray("Anna\r\n").repeated(2 * 1024 * 1024)); // 12 MiB
        // A guard against reading the whole file, not a benchmark.
        QElapsedTimer clock;
        clock.start();
        const QString text = RecordStore::Leggifiletxt(dir.filePath(Name));
        QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed()) + " ms"));
        QCOMPARE(text, u"Anna\r\n"_s.repeated(int(RecordStore::MaxReadBytes / 6) + 1).left(RecordStore::MaxReadBytes));
    }

    void readingWhatIsNotAFileIsAnError()
    {
        const QTemporaryDir dir;
        QDir(dir.path()).mkdir(Score);
        for (const QString &path : {dir.filePath(Score), dir.filePath(Name)})
            QVERIFY2(names(errorFrom([&] { RecordStore::Leggifiletxt(path); }), path), qPrintable(path));
    }

    void writeRecordReplacesThePair_data()
    {
        QTest::addColumn<Files>("before");
        QTest::addColumn<QString>("score");
        QTest::addColumn<QString>("name");
        QTest::addColumn<Files>("after");
        QTest::newRow("over an older pair") << OldPair << u"12"_s << u"Anna"_s << Files{{Score, "12\r\n"_ba}, {Name, "Anna\r\n"_ba}};
        QTest::newRow("over empty files, empty name")
            << Files{{Score, ""_ba}, {Name, ""_ba}} << u"1"_s << QString() << Files{{Score, "1\r\n"_ba}, {Name, "\r\n"_ba}};
        QTest::newRow("no files yet") << Files() << u"3"_s << u"Niccolò"_s << Files{{Score, "3\r\n"_ba}, {Name, "Niccol\xC3\xB2\r\n"_ba}};
    }
    void writeRecordReplacesThePair()
    {
        QFETCH(Files, before);
        QFETCH(QString, score);
        QFETCH(QString, name);
        QFETCH(Files, after);
        const QTemporaryDir dir;
        const QString winDir = dir.path() + u'/';
        putFiles(dir.path(), before);
        RecordStore::writeRecord(winDir, score, name);
        // Exactly the two files: no temporary or backup file is left behind.
        QCOMPARE(filesIn(dir.path()), after);
        QCOMPARE(RecordStore::Leggifiletxt(winDir + RecordStore::ScoreFile), score + "\r\n"_L1);
        QCOMPARE(RecordStore::Leggifiletxt(winDir + RecordStore::NameFile), name + "\r\n"_L1);
    }

    void failedWriteKeepsTheOldPair_data()
    {
        QTest::addColumn<QString>("blocker"); // a folder that stands where a file must go
        QTest::addColumn<QString>("failing"); // the file the error must name
        QTest::newRow("name file is a folder") << Name << Name;
        QTest::newRow("new score cannot be created") << Score + ".new" << Score;
        QTest::newRow("new name cannot be created") << Name + ".new" << Name;
        QTest::newRow("disk full") << QString() << Score;
        QTest::newRow("read-only folder") << QString() << Score;
    }
    void failedWriteKeepsTheOldPair()
    {
        QFETCH(QString, blocker);
        QFETCH(QString, failing);
        const QByteArray row = QTest::currentDataTag();
        if (row == "read-only folder" && ::geteuid() == 0)
            QSKIP("root writes into a read-only folder anyway; the other rows make the write fail");

        const QTemporaryDir dir;
        Files expected = OldPair;
        if (!blocker.isEmpty())
            expected.insert(blocker, "<dir>"_ba);
        putFiles(dir.path(), expected);

        std::optional<RuntimeError> error;
        const auto write = [&] { error = errorFrom([&] { RecordStore::writeRecord(dir.path() + u'/', u"12"_s, u"Anna"_s); }); };
        if (row == "disk full") {
            const FullDisk full;
            write();
        } else if (row == "read-only folder") {
            QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
            write();
            QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        } else {
            write();
        }
        QVERIFY(names(error, dir.filePath(failing)));
        // The old record stands byte for byte, and nothing else is left behind.
        QCOMPARE(filesIn(dir.path()), expected);
    }

    void interruptedWriteIsCompletedOrUndone_data()
    {
        QTest::addColumn<Files>("before");
        QTest::addColumn<Files>("after");
        // The steps of a write, in order; a crash may stop it after any of them.
        const Files newPair = {{Score, "12\r\n"_ba}, {Name, "Anna\r\n"_ba}};
        Files step = OldPair;
        QTest::newRow("nothing pending") << step << OldPair;
        step.insert(Score + ".new", "12\r\n"_ba);
        QTest::newRow("new score written") << step << OldPair;
        step.insert(Name + ".new", "Anna\r\n"_ba);
        QTest::newRow("new name written") << step << OldPair;
        step.insert(Score + ".old", "7\r\n"_ba);
        QTest::newRow("old score kept aside") << step << OldPair;
        step.insert(Score, step.take(Score + ".new"));
        QTest::newRow("score replaced, name not") << step << OldPair;
        step.insert(Name, step.take(Name + ".new"));
        QTest::newRow("both replaced") << step << newPair;
    }
    void interruptedWriteIsCompletedOrUndone()
    {
        QFETCH(Files, before);
        QFETCH(Files, after);
        const QTemporaryDir dir;
        putFiles(dir.path(), before);
        RecordStore::recoverInterruptedWrite(dir.path() + u'/');
        QCOMPARE(filesIn(dir.path()), after);
    }
};

QTEST_GUILESS_MAIN(TestRecordStore)
#include "test_recordstore.moc"
