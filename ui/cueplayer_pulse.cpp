// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cueplayer.h"

#include <QFile>
#include <QThread>

#include <pulse/pulseaudio.h>
#include <sndfile.h>

#include <memory>
#include <utility>

namespace {

using SoundFile = std::unique_ptr<SNDFILE, int (*)(SNDFILE *)>;

} // namespace

// The connection to the sound server and the cue that plays on it. It lives in
// the cue thread, which makes the connection at the first cue; libpulse runs
// the connection's events in a thread of its own and calls back there, with
// its lock held, as play() holds it while it changes the stream.
class ServerPlayback : public QObject
{
public:
    ~ServerPlayback() override
    {
        if (!m_loop)
            return;
        pa_threaded_mainloop_lock(m_loop);
        stop();
        if (m_context) {
            pa_context_disconnect(m_context);
            pa_context_unref(m_context);
        }
        pa_threaded_mainloop_unlock(m_loop);
        pa_threaded_mainloop_stop(m_loop);
        pa_threaded_mainloop_free(m_loop);
    }

    void play(const QString &path)
    {
        // libsndfile reads any WAV a sound editor writes, as 16-bit samples; a
        // file it cannot read is silence.
        const QByteArray name = QFile::encodeName(path);
        SF_INFO info{};
        SoundFile file(sf_open(name.constData(), SFM_READ, &info), &sf_close);
        const pa_sample_spec format{PA_SAMPLE_S16NE, uint32_t(info.samplerate), uint8_t(info.channels)};
        if (!running())
            return;
        pa_threaded_mainloop_lock(m_loop);
        stop(); // the cue still playing is cut off
        if (file && info.channels <= int(PA_CHANNELS_MAX) && pa_sample_spec_valid(&format) && connected())
            start(std::move(file), format, name);
        pa_threaded_mainloop_unlock(m_loop);
    }

private:
    // Starts libpulse's thread, once.
    bool running()
    {
        if (!m_loop && (m_loop = pa_threaded_mainloop_new()) && pa_threaded_mainloop_start(m_loop) < 0) {
            pa_threaded_mainloop_free(m_loop);
            m_loop = nullptr;
        }
        return m_loop;
    }

    // Whether the connection is up, making it (again) if need be: a sound
    // server that was not there or went away may be there now. Without one,
    // the cue is silence, and libpulse prints nothing.
    bool connected()
    {
        if (m_context && pa_context_get_state(m_context) == PA_CONTEXT_READY)
            return true;
        if (m_context)
            pa_context_unref(m_context);
        // How the desktop's volume control lists the game.
        pa_proplist *properties = pa_proplist_new();
        pa_proplist_sets(properties, PA_PROP_APPLICATION_ID, "org.example.Gomirlo");
        pa_proplist_sets(properties, PA_PROP_APPLICATION_ICON_NAME, "org.example.Gomirlo");
        m_context = pa_context_new_with_proplist(pa_threaded_mainloop_get_api(m_loop), "Gomirlo", properties);
        pa_proplist_free(properties);
        if (!m_context)
            return false;
        pa_context_set_state_callback(
            m_context, [](pa_context *, void *loop) {
                pa_threaded_mainloop_signal(static_cast<pa_threaded_mainloop *>(loop), 0);
            },
            m_loop);
        // The game starts no sound server of its own.
        if (pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
            return false;
        for (;;) {
            const pa_context_state_t state = pa_context_get_state(m_context);
            if (state == PA_CONTEXT_READY)
                return true;
            if (!PA_CONTEXT_IS_GOOD(state))
                return false;
            pa_threaded_mainloop_wait(m_loop);
        }
    }

    // Read as the server asks, and drained at the end so that all of it is
    // heard. The role "game": a muted alert volume must not silence the cues.
    void start(SoundFile file, const pa_sample_spec &format, const QByteArray &path)
    {
        m_file = std::move(file);
        pa_proplist *properties = pa_proplist_new();
        pa_proplist_sets(properties, PA_PROP_MEDIA_ROLE, "game");
        pa_proplist_sets(properties, PA_PROP_MEDIA_FILENAME, path.constData());
        m_stream = pa_stream_new_with_proplist(m_context, path.constData(), &format, nullptr, properties);
        pa_proplist_free(properties);
        if (!m_stream)
            return;
        pa_stream_set_write_callback(
            m_stream, [](pa_stream *, size_t bytes, void *playback) {
                static_cast<ServerPlayback *>(playback)->write(bytes);
            },
            this);
        pa_stream_connect_playback(m_stream, nullptr, nullptr, PA_STREAM_NOFLAGS, nullptr, nullptr);
    }

    void write(size_t bytes)
    {
        const size_t frame = pa_frame_size(pa_stream_get_sample_spec(m_stream));
        void *data = nullptr;
        if (pa_stream_begin_write(m_stream, &data, &bytes) < 0)
            return;
        const sf_count_t frames = sf_readf_short(m_file.get(), static_cast<short *>(data), sf_count_t(bytes / frame));
        if (frames > 0)
            pa_stream_write(m_stream, data, size_t(frames) * frame, nullptr, 0, PA_SEEK_RELATIVE);
        else
            pa_stream_cancel_write(m_stream);
        if (frames < sf_count_t(bytes / frame)) {
            pa_stream_set_write_callback(m_stream, nullptr, nullptr);
            pa_operation_unref(pa_stream_drain(
                m_stream, [](pa_stream *stream, int, void *) {
                    pa_stream_disconnect(stream);
                },
                nullptr));
        }
    }

    // Drops the stream at once, whatever it has left to play.
    void stop()
    {
        if (m_stream) {
            pa_stream_set_write_callback(m_stream, nullptr, nullptr);
            if (PA_STREAM_IS_GOOD(pa_stream_get_state(m_stream)))
                pa_stream_disconnect(m_stream);
            pa_stream_unref(std::exchange(m_stream, nullptr));
        }
        m_file.reset();
    }

    pa_threaded_mainloop *m_loop = nullptr;
    pa_context *m_context = nullptr;
    pa_stream *m_stream = nullptr;
    SoundFile m_file{nullptr, &sf_close}; // what m_stream plays
};

// Cues start in a thread of their own: reading the file and the round trips to
// the sound server take a millisecond or more, which the window must not wait.
class CuePlayer::Output
{
public:
    Output()
        : m_playback(new ServerPlayback)
    {
        m_thread.setObjectName(QStringLiteral("cues"));
        m_playback->moveToThread(&m_thread);
        m_thread.start();
    }

    ~Output()
    {
        // Cues not yet started are dropped, and the one playing ends with the
        // connection.
        m_thread.quit();
        m_thread.wait();
        delete m_playback;
    }

    void play(const QString &path)
    {
        // Cues are started in the order they are asked for, so a later one still
        // cuts off an earlier one.
        ServerPlayback *playback = m_playback;
        QMetaObject::invokeMethod(
            playback, [playback, path] { playback->play(path); }, Qt::QueuedConnection);
    }

private:
    QThread m_thread;
    ServerPlayback *m_playback; // lives in m_thread
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
