// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cueplayer.h"

#include <QDir>

#include <string>

#include <windows.h>
#include <mmsystem.h>

// Cues play through the system's own sound player (PlaySound of winmm). Asked
// to play a file asynchronously it returns at once and plays in a thread of
// the system's, cutting off the cue it was playing; told not to fall back on
// the default sound, it is silent for a missing or unreadable file, which is
// how the game wants it. So there is no thread of our own here.
class CuePlayer::Output
{
public:
    ~Output()
    {
        // The cue still playing ends with the player, as it does elsewhere.
        PlaySoundW(nullptr, nullptr, 0);
    }

    void play(const QString &path)
    {
        // The name in UTF-16: a program folder under a user name such as
        // "Niccolò" must be found whatever the system's 8-bit code page.
        const std::wstring name = QDir::toNativeSeparators(path).toStdWString();
        PlaySoundW(name.c_str(), nullptr, SND_ASYNC | SND_FILENAME | SND_NODEFAULT);
    }
};

CuePlayer::CuePlayer(QObject *parent)
    : QObject(parent)
    , m_output(std::make_unique<Output>())
{
}

CuePlayer::~CuePlayer() = default;

void CuePlayer::play(const QString &path)
{
    m_output->play(path);
}
