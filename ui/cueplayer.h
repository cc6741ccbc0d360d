// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QThread>

class CueVoices;

// Plays the short wave files that accompany each answer. The audio back end is
// only started by the first cue, so it costs the start of the game nothing. It
// runs in a thread of its own: starting a sound means round trips to the sound
// server, a millisecond or more each time (several for the first cue), which
// the window's thread would otherwise spend waiting before it can show the
// answer's judgement.
class CuePlayer : public QObject
{
    Q_OBJECT
public:
    explicit CuePlayer(QObject *parent = nullptr);
    ~CuePlayer() override;

    // Starts playing the wave file and returns at once. A file that is missing
    // or cannot be played gives silence, with no message. A cue that is still
    // playing is cut off, and the new one plays from its beginning.
    void play(const QString &path);

private:
    QThread m_audio;
    CueVoices *m_voices; // lives in m_audio and is deleted there
};
