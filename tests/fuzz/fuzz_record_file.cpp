// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Reading a record file from the disk, with the bound on how much is read
// falling among the fuzzed bytes: a huge or damaged file is read in part,
// never misread and never a failure.
#include "fuzzsupport.h"
#include "recordbytes.h"
#include "recordstore.h"
#include "recordtext.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

QString fileToRead()
{
    static QTemporaryDir folder;
    if (!folder.isValid())
        fuzzFailure("a temporary folder", folder.errorString().toStdString());
    return folder.filePath(QStringLiteral("gomirlo10.txt"));
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        fuzzFailure("writing the file to read", file.errorString().toStdString());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // The first byte says how many of the fuzzed bytes lie inside the bound;
    // a filler of plain ASCII comes before them. An odd first byte leaves the
    // filler out: a short file, read whole.
    if (size < 1)
        return 0;
    const QByteArrayView tail(data + 1, qsizetype(size - 1));
    const bool large = data[0] % 2 == 0;
    const qsizetype inside = std::min<qsizetype>(data[0] / 2 % 8, tail.size());
    QByteArray bytes;
    if (large)
        bytes = QByteArray(RecordStore::MaxReadBytes - inside, '7');
    bytes += tail;

    const QString path = fileToRead();
    writeFile(path, bytes);
    const QString text = RecordStore::Leggifiletxt(path);
    const auto detail = [&] {
        return std::to_string(bytes.size()) + " bytes ending " + shown(bytes.right(16)) + " read as "
            + std::to_string(text.size()) + " characters ending " + shown(QStringView(text).right(16));
    };

    FUZZ_CHECK(text.size() <= RecordStore::MaxReadBytes, detail());
    if (bytes.size() <= RecordStore::MaxReadBytes) {
        // Within the bound the file is read whole.
        FUZZ_CHECK(text == decodeRecordText(bytes), detail());
        return 0;
    }

    const QByteArrayView read = QByteArrayView(bytes).first(RecordStore::MaxReadBytes);
    if (isUtf8(bytes)) {
        // A UTF-8 file loses at most the character that the bound cuts.
        const QByteArray kept = text.toUtf8();
        FUZZ_CHECK(read.startsWith(kept) && read.size() - kept.size() <= 3, detail());
        FUZZ_CHECK(read.size() == kept.size() || isCutUtf8Sequence(read.sliced(kept.size())), detail());
    } else if (utf8WellFormedLength(read) < read.size() - 3) {
        // Not UTF-8 however it is cut: Windows-1252, every byte read.
        FUZZ_CHECK(text == windows1252(read), detail());
    }
    return 0;
}
