// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cueplayer.h"

#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

CuePlayer::CuePlayer(QObject *parent)
    : QObject(parent)
{
}

CuePlayer::~CuePlayer() = default;

void CuePlayer::play(const QString &path)
{
    // A missing file is silence; asking the back end for it would only fill
    // the log with complaints.
    if (!QFileInfo(path).isFile())
        return;
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
