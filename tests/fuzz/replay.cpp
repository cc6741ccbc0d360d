// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Runs a fuzz target's properties on every file of the folders given: its
// seeds and past findings, replayed by every build, not only while fuzzing.
#include <QDir>
#include <QFile>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

int main(int argc, char *argv[])
{
    int inputs = 0;
    for (int i = 1; i < argc; ++i) {
        for (const QFileInfo &entry : QDir(QFile::decodeName(argv[i])).entryInfoList(QDir::Files)) {
            QFile file(entry.filePath());
            const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t *>(bytes.constData()), std::size_t(bytes.size()));
            ++inputs;
        }
    }
    std::printf("%d inputs hold every property\n", inputs);
    return inputs > 0 ? 0 : 1;
}
