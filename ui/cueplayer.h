// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <memory>

// Plays the short wave files that accompany each answer, with each system's
// own means: one implementation per system, chosen by the build
// (cueplayer_pulse.cpp, cueplayer_windows.cpp, cueplayer_web.cpp). Whatever the system, starting
// a cue costs the window's thread no waiting, a missing file is silence, and
// a new cue cuts off the one still playing.
class CuePlayer
{
public:
    CuePlayer();
    ~CuePlayer();
    CuePlayer(const CuePlayer &) = delete;
    CuePlayer &operator=(const CuePlayer &) = delete;

    // Starts playing the wave file and returns at once. A file that is missing
    // or cannot be played gives silence, with no message. A cue that is still
    // playing is cut off, and the new one plays from its beginning.
    void play(const QString &path);

private:
    class Output; // the system's own player
    std::unique_ptr<Output> m_output;
};
