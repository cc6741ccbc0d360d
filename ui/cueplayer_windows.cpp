// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cueplayer.h"
#include "cuefiles.h"

#include <QCoreApplication>
#include <QFile>

#include <map>

// mmsystem.h needs the types that windows.h declares first.
// clang-format off
#include <windows.h>
#include <mmsystem.h>
// clang-format on

// PlaySound plays asynchronously in a thread of the system's, cutting off the
// cue it was playing. The files are read once, so that no answer waits for a
// slow stick or a school's server.
class CuePlayer::Output
{
public:
    Output()
    {
        const QString cues = QCoreApplication::applicationDirPath() + u'/' + CueFiles::Folder + u'/';
        for (const char *name : {CueFiles::RightAnswer, CueFiles::WrongAnswer})
            read(cues + name);
    }

    ~Output()
    {
        // The cue still playing ends before its bytes go.
        PlaySoundW(nullptr, nullptr, 0);
    }

    void play(const QString &path)
    {
        const QByteArray &wave = m_waves.count(path) ? m_waves.at(path) : read(path);
        // A missing file is silence, and still cuts off the cue playing.
        PlaySoundW(wave.isEmpty() ? nullptr : reinterpret_cast<LPCWSTR>(wave.constData()), nullptr,
                   SND_MEMORY | SND_ASYNC | SND_NODEFAULT);
    }

private:
    // A file that cannot be read is kept as empty, and stays silent.
    const QByteArray &read(const QString &path)
    {
        QFile file(path);
        return m_waves[path] = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // The system plays from these bytes while the game goes on: they stay, and
    // stay put, for the whole run.
    std::map<QString, QByteArray> m_waves;
};

CuePlayer::CuePlayer()
    : m_output(std::make_unique<Output>())
{
}

CuePlayer::~CuePlayer() = default;

void CuePlayer::play(const QString &path)
{
    m_output->play(path);
}
