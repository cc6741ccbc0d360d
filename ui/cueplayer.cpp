// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cueplayer.h"

#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

#include <map>

// The sound effects, one per file, kept decoded. It lives in the audio thread,
// and so do the effects it makes; the player deletes it there.
class CueVoices : public QObject
{
public:
    void play(const QString &path)
    {
        QSoundEffect *&effect = m_effects[path];
        if (!effect) {
            effect = new QSoundEffect(this);
            effect->setSource(QUrl::fromLocalFile(path));
        }
        for (auto &[otherPath, other] : m_effects) {
            if (other != effect)
                other->stop();
        }
        effect->stop();
        effect->play();
    }

private:
    std::map<QString, QSoundEffect *> m_effects;
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
    // The effects are deleted in their own thread while its event loop still
    // runs: each hands its audio output to deleteLater, which a thread that
    // has already finished would never carry out.
    QMetaObject::invokeMethod(m_voices, [voices = m_voices] { delete voices; }, Qt::BlockingQueuedConnection);
    m_audio.quit();
    m_audio.wait();
}

void CuePlayer::play(const QString &path)
{
    // A missing file is silence; asking the back end for it would only fill
    // the log with complaints.
    if (!QFileInfo(path).isFile())
        return;
    // Cues are started in the order they are asked for, so a later one still
    // cuts off an earlier one.
    CueVoices *voices = m_voices;
    QMetaObject::invokeMethod(voices, [voices, path] { voices->play(path); }, Qt::QueuedConnection);
}
