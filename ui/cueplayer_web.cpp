// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cueplayer.h"

#include "cuefiles.h"

#include <QCoreApplication>

#include <emscripten.h>

namespace {

// A cue's path beside the program is its address beside the page.
QByteArray address(const QString &path)
{
    qsizetype slashes = 0;
    while (slashes < path.size() && path.at(slashes) == u'/')
        ++slashes;
    return path.mid(slashes).toUtf8();
}

// Browsers start sound only after a gesture: the page's first key or click,
// which typing the name is. The audio is made then, not at the first cue, as
// Firefox takes up to a second to start it.
// clang-format off
EM_JS(void, gomirloMakeAudioAtFirstGesture, (), {
    var cues = Module.gomirloCues = {decoded: {}, playing: null, asked: 0, context: null};
    var make = function () { cues.context = cues.context || new AudioContext(); };
    window.addEventListener('keydown', make, {capture: true, once: true});
    window.addEventListener('pointerdown', make, {capture: true, once: true});
});
// clang-format on
[[maybe_unused]] const bool audioAtFirstGesture = (gomirloMakeAudioAtFirstGesture(), true);

// The page's Web Audio plays the cues, from their addresses beside the page.
// Each file is fetched and decoded once and kept; a file that cannot be
// fetched or decoded is silence.
// clang-format off
EM_JS(void, gomirloLoadCue, (const char *address), {
    var cues = Module.gomirloCues;
    cues.context = cues.context || new AudioContext();
    address = UTF8ToString(address);
    if (!cues.decoded[address]) {
        cues.decoded[address] = fetch(address)
            .then(function (response) { return response.ok ? response.arrayBuffer() : Promise.reject(response.status); })
            .then(function (bytes) { return cues.context.decodeAudioData(bytes); })
            .catch(function () { return null; });
    }
});
// clang-format on

// Only the cue asked for last may start: one still being decoded when the
// next is asked for stays silent, and the one playing is cut off.
// clang-format off
EM_JS(void, gomirloPlayCue, (const char *address), {
    var cues = Module.gomirloCues;
    address = UTF8ToString(address);
    var asked = ++cues.asked;
    if (cues.playing) {
        cues.playing.stop();
        cues.playing = null;
    }
    if (cues.context.state === 'suspended')
        cues.context.resume();
    cues.decoded[address].then(function (buffer) {
        if (!buffer || asked !== cues.asked)
            return;
        var source = cues.context.createBufferSource();
        source.buffer = buffer;
        source.connect(cues.context.destination);
        source.start();
        cues.playing = source;
    });
});
// clang-format on

} // namespace

class CuePlayer::Output
{
public:
    Output()
    {
        // Both cues are decoded ahead, so that the other one plays at once too.
        const QString folder = QCoreApplication::applicationDirPath() + u'/' + CueFiles::Folder + u'/';
        for (const char *cue : {CueFiles::RightAnswer, CueFiles::WrongAnswer})
            gomirloLoadCue(address(folder + QLatin1String(cue)).constData());
    }

    void play(const QString &path)
    {
        const QByteArray cue = address(path);
        gomirloLoadCue(cue.constData());
        gomirloPlayCue(cue.constData());
    }
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
