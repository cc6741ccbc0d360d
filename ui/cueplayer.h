// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QThread>

class CueVoices;

// Plays the short wave files that accompany each answer on the desktop's sound
// server (PulseAudio, or PipeWire's PulseAudio server), read by libsndfile and
// played through libpulse, as paplay does. Nothing is asked of the server
// before the first cue, so it costs the start of the game nothing. Cues start
// in a thread of their own: starting one means reading the file and round
// trips to the server, a millisecond or more each time (more for the first),
// which the window's thread would otherwise spend waiting before it can show
// the answer's judgement.
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
    CueVoices *m_voices; // lives in m_audio
};
