// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cueplayer.h"

#include <QFile>

#include <canberra.h>

namespace {

// Every cue is played under this one id, so that cancelling it cuts off
// whichever cue is still playing.
constexpr uint32_t CueId = 1;

} // namespace

// The connection to the sound server, made at the first cue. It lives in the
// audio thread; the player deletes it once that thread has stopped.
class CueVoices : public QObject
{
public:
    ~CueVoices() override
    {
        if (m_context)
            ca_context_destroy(m_context);
    }

    void play(const QString &path)
    {
        if (!m_context && !open())
            return;
        // The server drops the cue still playing at once, before it hears of
        // the new one.
        ca_context_cancel(m_context, CueId);
        // Each cue is streamed from its file and the stream is drained before
        // it is closed, so the end of the sound is heard too. Streaming reads
        // the file afresh each time: a teacher's new file is heard at once.
        // The role "game" rather than libcanberra's usual "event": these cues
        // are part of the game, and the desktop's volume for alert sounds,
        // which may be turned down, must not silence them. An error (no sound
        // server, a missing or unreadable file) is silence, as it should be.
        ca_context_play(m_context, CueId, CA_PROP_MEDIA_FILENAME, QFile::encodeName(path).constData(),
                        CA_PROP_MEDIA_ROLE, "game", CA_PROP_CANBERRA_CACHE_CONTROL, "never", nullptr);
    }

private:
    bool open()
    {
        if (ca_context_create(&m_context) != CA_SUCCESS)
            return false;
        // How the desktop's volume control lists the game.
        ca_context_change_props(m_context, CA_PROP_APPLICATION_NAME, "Gomirlo", CA_PROP_APPLICATION_ID,
                                "org.example.Gomirlo", CA_PROP_APPLICATION_ICON_NAME, "org.example.Gomirlo", nullptr);
        return true;
    }

    ca_context *m_context = nullptr;
};

CuePlayer::CuePlayer(QObject *parent)
    : QObject(parent)
    , m_voices(new CueVoices)
{
    m_audio.setObjectName(QStringLiteral("cues"));
    m_voices->moveToThread(&m_audio);
    m_audio.start();
}

CuePlayer::~CuePlayer()
{
    // Cues not yet started are dropped, and the one playing ends with the
    // connection.
    m_audio.quit();
    m_audio.wait();
    delete m_voices;
}

void CuePlayer::play(const QString &path)
{
    // Cues are started in the order they are asked for, so a later one still
    // cuts off an earlier one.
    CueVoices *voices = m_voices;
    QMetaObject::invokeMethod(voices, [voices, path] { voices->play(path); }, Qt::QueuedConnection);
}
