// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The record files: reading the pair as every start-up does, and writing a
// new record crash-safe, in a private data folder on the disk TMPDIR names.
#include "benchsupport.h"
#include "recordfolder.h"
#include "recordstore.h"

using namespace Qt::StringLiterals;

namespace {

// What every start-up does with the record files: make sure of the folder,
// take its lock, finish an interrupted save, create missing files, read both.
void readRecordAtStartUp(benchmark::State &state)
{
    RecordFolder folder;
    folder.put({{Score, "12\r\n"}, {Name, "Anna\r\n"}});
    RecordStore::Record record;
    for (auto _ : state)
        record = RecordStore::open();
    if (record.score != u"12\r\n"_s || record.name != u"Anna\r\n"_s)
        state.SkipWithError("the record was not read back");
}

// A new record at the end of a game: under the lock, the stored score read
// again, both lines written durably beside the old files, then moved into
// place, score first.
void writeNewRecord(benchmark::State &state)
{
    RecordFolder folder;
    const QString winDir = RecordStore::open().folder;
    int score = 0;
    for (auto _ : state) {
        ++score;
        RecordStore::writeRecord(winDir, QString::number(score), u"Anna"_s, [](const QString &) { return true; });
    }
    if (folder.files() != Files{{Score, QByteArray::number(score) + "\r\n"}, {Name, "Anna\r\n"}})
        state.SkipWithError("the record on disk is not the one written last");
}

} // namespace

BENCHMARK(readRecordAtStartUp)->Unit(benchmark::kMicrosecond)->Repetitions(5)->DisplayAggregatesOnly();
BENCHMARK(writeNewRecord)->Unit(benchmark::kMicrosecond)->Repetitions(5)->DisplayAggregatesOnly();

int main(int argc, char **argv)
{
    return runBenchmarks(argc, argv);
}
