// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// makecues: writes the two short sounds Gomirlo plays after an answer.
//
// The cues are kept in ui/suoni/ as they ship; this is the recipe that made
// them, run by hand, outside the build, to make them again:
//
//   g++ -std=c++20 -O2 -I ui tools/makecues.cpp -o /tmp/makecues && /tmp/makecues ui
//
// It writes the right answer's cue (three quick rising notes) and the wrong
// answer's (a low tone sliding down) into <folder>/suoni/ by the names the
// game looks for. Both are plain RIFF/WAVE: PCM, mono, 16 bits, 44100 Hz,
// every field written byte by byte in little-endian order, so they come out
// the same on any machine and compiler.

#include "cuefiles.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kSampleRate = 44100;
constexpr double kPi = 3.14159265358979323846;

// Loud enough to hear clearly, quiet enough not to startle a child wearing
// headphones: the loudest sample sits at half of full scale.
constexpr double kPeak = 0.5;

using Samples = std::vector<double>;

int samplesFor(double seconds)
{
    return static_cast<int>(std::lround(seconds * kSampleRate));
}

// Raised-cosine fade over the first and last few samples. Starting or
// stopping a tone abruptly makes an audible click; a few milliseconds of
// fade removes it.
void fadeEdges(Samples &s, std::size_t begin, std::size_t end, double fadeIn,
               double fadeOut)
{
    const std::size_t len = end - begin;
    const std::size_t in = std::min<std::size_t>(samplesFor(fadeIn), len / 2);
    const std::size_t out = std::min<std::size_t>(samplesFor(fadeOut), len / 2);
    for (std::size_t i = 0; i < in; ++i)
        s[begin + i] *= 0.5 - 0.5 * std::cos(kPi * static_cast<double>(i) / static_cast<double>(in));
    for (std::size_t i = 0; i < out; ++i)
        s[end - 1 - i] *= 0.5 - 0.5 * std::cos(kPi * static_cast<double>(i) / static_cast<double>(out));
}

// A note with a couple of overtones so it sounds bright rather than like a
// test tone, dying away gently.
void addNote(Samples &s, double start, double length, double freq)
{
    const std::size_t begin = samplesFor(start);
    const std::size_t end = std::min(s.size(), begin + samplesFor(length));
    for (std::size_t i = begin; i < end; ++i) {
        const double t = static_cast<double>(i - begin) / kSampleRate;
        const double w = 2.0 * kPi * freq * t;
        const double tone = std::sin(w) + 0.3 * std::sin(2.0 * w) + 0.1 * std::sin(3.0 * w);
        s[i] += tone * std::exp(-3.0 * t / length);
    }
    fadeEdges(s, begin, end, 0.004, 0.012);
}

// Right answer: 660 Hz, 880 Hz, 1320 Hz, one after the other, the last one
// held a little longer. 0.35 s in all.
Samples rightAnswer()
{
    Samples s(samplesFor(0.35), 0.0);
    addNote(s, 0.00, 0.10, 660.0);
    addNote(s, 0.10, 0.10, 880.0);
    addNote(s, 0.20, 0.15, 1320.0);
    return s;
}

// Wrong answer: a soft tone sliding down an octave, 330 Hz to 165 Hz, in
// 0.45 s. The pitch falls evenly on a musical scale (exponentially in Hz).
// The phase is accumulated sample by sample so the slide has no jumps.
Samples wrongAnswer()
{
    const double length = 0.45;
    const double from = 330.0, to = 165.0;
    Samples s(samplesFor(length), 0.0);
    double phase = 0.0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double freq = from * std::pow(to / from, t / length);
        // Odd overtones give it a slightly hollow, "nope" colour.
        s[i] = std::sin(phase) + 0.25 * std::sin(3.0 * phase) + 0.08 * std::sin(5.0 * phase);
        s[i] *= 1.0 - 0.4 * t / length; // fade a little as it falls
        phase += 2.0 * kPi * freq / kSampleRate;
        if (phase > 2.0 * kPi)
            phase -= 2.0 * kPi;
    }
    fadeEdges(s, 0, s.size(), 0.005, 0.040);
    return s;
}

// Scales the sound so its loudest sample is kPeak of full scale, then rounds
// to 16-bit integers.
std::vector<std::int16_t> toPcm16(const Samples &s)
{
    double loudest = 0.0;
    for (double v : s)
        loudest = std::max(loudest, std::fabs(v));
    const double gain = loudest > 0.0 ? kPeak * 32767.0 / loudest : 0.0;
    std::vector<std::int16_t> pcm;
    pcm.reserve(s.size());
    for (double v : s) {
        const long q = std::lround(v * gain);
        pcm.push_back(static_cast<std::int16_t>(std::clamp(q, -32768L, 32767L)));
    }
    return pcm;
}

void put16(std::vector<unsigned char> &out, std::uint16_t v)
{
    out.push_back(static_cast<unsigned char>(v & 0xFF));
    out.push_back(static_cast<unsigned char>((v >> 8) & 0xFF));
}

void put32(std::vector<unsigned char> &out, std::uint32_t v)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<unsigned char>((v >> shift) & 0xFF));
}

void putTag(std::vector<unsigned char> &out, const char (&tag)[5])
{
    out.insert(out.end(), tag, tag + 4);
}

// The whole WAVE file: RIFF header, a 16-byte "fmt " chunk, then "data".
std::vector<unsigned char> waveFile(const std::vector<std::int16_t> &pcm)
{
    const std::uint16_t channels = 1;
    const std::uint16_t bitsPerSample = 16;
    const std::uint16_t blockAlign = channels * bitsPerSample / 8;
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(pcm.size()) * blockAlign;

    std::vector<unsigned char> out;
    out.reserve(44 + dataBytes);
    putTag(out, "RIFF");
    put32(out, 36 + dataBytes); // everything after this field
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    put32(out, 16);
    put16(out, 1); // PCM
    put16(out, channels);
    put32(out, kSampleRate);
    put32(out, kSampleRate * blockAlign); // bytes per second
    put16(out, blockAlign);
    put16(out, bitsPerSample);
    putTag(out, "data");
    put32(out, dataBytes);
    for (std::int16_t v : pcm)
        put16(out, static_cast<std::uint16_t>(v));
    return out;
}

bool writeFile(const std::filesystem::path &path,
               const std::vector<unsigned char> &bytes)
{
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    if (!f)
        return false;
    f.write(reinterpret_cast<const char *>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
    f.close();
    return static_cast<bool>(f);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: makecues <folder>\n");
        return 2;
    }
    const std::filesystem::path folder = std::filesystem::path(argv[1]) / CueFiles::Folder;
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    const struct {
        const char *name;
        Samples (*make)();
    } cues[] = {{CueFiles::RightAnswer, rightAnswer}, {CueFiles::WrongAnswer, wrongAnswer}};

    for (const auto &cue : cues) {
        const std::filesystem::path path = folder / cue.name;
        if (!writeFile(path, waveFile(toPcm16(cue.make())))) {
            std::fprintf(stderr, "makecues: cannot write %s\n",
                         path.string().c_str());
            return 1;
        }
    }
    return 0;
}
