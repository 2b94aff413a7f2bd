#include "Synthesizer.h"

#include "MusicScore.h"
#include "Reverb.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <string>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kTableSize = 4096;
constexpr double kTailSeconds = 2.5;
constexpr double kFadeInSeconds = 0.01;

struct Timbre {
    std::vector<double> harmonics; // amplitudes of harmonics 1, 2, 3, ...
    std::vector<double> mellow;    // the harmonics a plucked sound decays to (empty: no change)
    double attack = 0.02;          // seconds
    double decay = 0.2;            // seconds to fall from the attack peak to the sustain level
    double sustain = 1.0;          // level while held
    double release = 0.2;          // seconds after the note ends
    double pluck = 0;              // > 0: the sound dies away with this time constant (seconds)
    double gate = 0.95;            // share of the written length that the note is held
    double vibratoCents = 0;
    double vibratoRate = 5.0;
    double detuneCents = 2.0; // the chorus: two copies this far apart
    double gain = 1.0;
};

const std::map<std::string, Timbre>& Timbres()
{
    static const std::map<std::string, Timbre> timbres = {
        {"organ", {{1, 0.55, 0.35, 0.2, 0.12, 0.08, 0.05, 0.04}, {}, 0.03, 0.1, 0.9, 0.18, 0, 0.97, 0, 5, 1.5, 0.8}},
        {"strings", {{1, 0.5, 0.33, 0.24, 0.17, 0.11, 0.07, 0.05}, {}, 0.16, 0.3, 0.85, 0.4, 0, 1.0, 11, 5.2, 6, 0.8}},
        {"cello", {{1, 0.6, 0.4, 0.25, 0.15, 0.1, 0.06}, {}, 0.09, 0.3, 0.85, 0.35, 0, 0.98, 9, 4.8, 4, 0.9}},
        {"pad", {{1, 0.35, 0.2, 0.1, 0.05}, {}, 0.45, 0.5, 0.8, 0.9, 0, 1.0, 6, 4.5, 8, 0.7}},
        {"flute", {{1, 0.22, 0.07, 0.03}, {}, 0.06, 0.2, 0.85, 0.18, 0, 0.93, 10, 5, 1.5, 0.9}},
        {"brass",
         {{1, 0.7, 0.55, 0.42, 0.3, 0.2, 0.13, 0.08, 0.05}, {}, 0.04, 0.15, 0.8, 0.15, 0, 0.88, 6, 5.5, 3, 0.75}},
        {"harp", {{1, 0.45, 0.25, 0.12, 0.06, 0.03}, {1, 0.12, 0.03}, 0.004, 0.1, 1.0, 0.5, 1.6, 1.0, 0, 5, 1, 1.0}},
        {"piano",
         {{1, 0.6, 0.35, 0.2, 0.12, 0.07, 0.04}, {1, 0.2, 0.05}, 0.003, 0.1, 1.0, 0.35, 2.2, 0.97, 0, 5, 1.2, 1.0}},
        {"bass", {{1, 0.35, 0.12, 0.05}, {}, 0.02, 0.2, 0.85, 0.25, 0, 0.92, 0, 5, 1, 1.0}},
    };
    return timbres;
}

std::vector<float> MakeTable(const std::vector<double>& harmonics)
{
    std::vector<float> table(kTableSize + 1);
    double peak = 0;
    for (int i = 0; i <= kTableSize; ++i) {
        double value = 0;
        for (size_t h = 0; h < harmonics.size(); ++h)
            value += harmonics[h] * std::sin(2 * kPi * (h + 1) * i / kTableSize);
        table[i] = static_cast<float>(value);
        peak = std::max(peak, std::abs(value));
    }
    for (float& v : table)
        v = static_cast<float>(v / peak);
    return table;
}

struct TimbreTables {
    std::vector<float> bright;
    std::vector<float> mellow;
};

inline float Lookup(const std::vector<float>& table, double phase)
{
    const double position = phase * kTableSize;
    const int index = static_cast<int>(position);
    const float fraction = static_cast<float>(position - index);
    return table[index] + (table[index + 1] - table[index]) * fraction;
}

// The level of the envelope t seconds after the note began; held is how long the note is held.
double Envelope(const Timbre& timbre, double t, double held)
{
    auto level = [&](double at) {
        if (at < timbre.attack)
            return 0.5 - 0.5 * std::cos(kPi * at / timbre.attack);
        double value = timbre.sustain + (1 - timbre.sustain) * std::exp(-(at - timbre.attack) / timbre.decay);
        if (timbre.pluck > 0)
            value *= std::exp(-(at - timbre.attack) / timbre.pluck);
        return value;
    };
    if (t < held)
        return level(t);
    const double released = t - held;
    if (released >= timbre.release)
        return 0;
    // A raised-cosine fall from the level at the note's end, so the release has no click.
    return level(held) * (0.5 + 0.5 * std::cos(kPi * released / timbre.release));
}

class NoteRenderer {
public:
    NoteRenderer(int sampleRate, AudioBuffer& buffer) : m_rate(sampleRate), m_buffer(buffer) {}

    void Render(const ScoreNote& note, double secondsPerBeat, const Timbre& timbre, const TimbreTables& tables,
                double volume, double pan) const;

private:
    int m_rate;
    AudioBuffer& m_buffer;
};

// Constant-power gains (left, right) of the two chorus copies, spread a little either side of the pan.
void ChorusGains(double pan, double gains[2][2])
{
    constexpr double kSpread = 0.25;
    for (int osc = 0; osc < 2; ++osc) {
        const double place = std::clamp(pan + (osc == 0 ? -kSpread : kSpread), -1.0, 1.0);
        const double angle = (place + 1) * kPi / 4;
        gains[osc][0] = std::cos(angle);
        gains[osc][1] = std::sin(angle);
    }
}

void NoteRenderer::Render(const ScoreNote& note, double secondsPerBeat, const Timbre& timbre,
                          const TimbreTables& tables, double volume, double pan) const
{
    const double frequency = 440.0 * std::pow(2.0, (note.key - 69) / 12.0);
    const double held = std::max(0.05, note.length * secondsPerBeat * timbre.gate);
    const size_t first = static_cast<size_t>(note.start * secondsPerBeat * m_rate);
    const size_t count = static_cast<size_t>((held + timbre.release) * m_rate);
    // High notes are a little softer, as with real instruments; the velocity shapes the loudness.
    const double amplitude =
        timbre.gain * volume * (0.25 + 0.75 * note.velocity) * std::pow(261.63 / frequency, 0.2) * 0.18;
    const double detune = std::pow(2.0, timbre.detuneCents / 1200.0);
    double phases[2] = {0.0, 0.37};
    double gains[2][2];
    ChorusGains(pan, gains);
    for (size_t i = 0; i < count && first + i < m_buffer.Frames(); ++i) {
        const double t = static_cast<double>(i) / m_rate;
        const double cents = timbre.vibratoCents * std::min(1.0, t / 0.4) * std::sin(2 * kPi * timbre.vibratoRate * t);
        const double f = frequency * std::pow(2.0, cents / 1200.0);
        const double envelope = amplitude * Envelope(timbre, t, held);
        const double brightness = timbre.pluck > 0 ? std::exp(-t / (0.25 * timbre.pluck)) : 1.0;
        float* frame = &m_buffer.samples[2 * (first + i)];
        for (int osc = 0; osc < 2; ++osc) {
            float value = Lookup(tables.bright, phases[osc]);
            if (!tables.mellow.empty())
                value = static_cast<float>(value * brightness + Lookup(tables.mellow, phases[osc]) * (1 - brightness));
            frame[0] += static_cast<float>(value * envelope * gains[osc][0]);
            frame[1] += static_cast<float>(value * envelope * gains[osc][1]);
            phases[osc] += f * (osc == 0 ? 1.0 / detune : detune) / m_rate;
            phases[osc] -= std::floor(phases[osc]);
        }
    }
}

void FadeEdges(AudioBuffer& buffer, double fadeOutSeconds)
{
    const size_t frames = buffer.Frames();
    const size_t fadeIn = std::min(frames, static_cast<size_t>(kFadeInSeconds * buffer.sampleRate));
    const size_t fadeOut = std::min(frames, static_cast<size_t>(fadeOutSeconds * buffer.sampleRate));
    for (size_t i = 0; i < fadeIn; ++i)
        for (int c = 0; c < buffer.channels; ++c)
            buffer.samples[i * buffer.channels + c] *= static_cast<float>(i) / fadeIn;
    for (size_t i = 0; i < fadeOut; ++i) {
        const float gain = static_cast<float>(0.5 + 0.5 * std::cos(kPi * (i + 1) / fadeOut));
        for (int c = 0; c < buffer.channels; ++c)
            buffer.samples[(frames - fadeOut + i) * buffer.channels + c] *= gain;
    }
}

} // namespace

AudioBuffer Synthesizer::Render(const MusicScore& score, double maxSeconds) const
{
    const double secondsPerBeat = score.SecondsPerBeat();
    double seconds = score.LengthInBeats() * secondsPerBeat;
    if (maxSeconds > 0)
        seconds = std::min(seconds, maxSeconds);
    const double tail = maxSeconds > 0 ? std::min(kTailSeconds, 0.5) : kTailSeconds;
    AudioBuffer buffer;
    buffer.sampleRate = m_sampleRate;
    buffer.channels = 2;
    buffer.samples.assign(static_cast<size_t>((seconds + tail) * m_sampleRate) * 2, 0.0f);
    const NoteRenderer renderer(m_sampleRate, buffer);
    std::map<std::string, TimbreTables> tables;
    for (const ScoreVoice& voice : score.Voices()) {
        const Timbre& timbre = Timbres().at(voice.timbre);
        if (tables.count(voice.timbre) == 0)
            tables[voice.timbre] = TimbreTables{
                MakeTable(timbre.harmonics), timbre.mellow.empty() ? std::vector<float>() : MakeTable(timbre.mellow)};
        for (const ScoreNote& note : voice.notes) {
            if (note.start * secondsPerBeat < seconds)
                renderer.Render(note, secondsPerBeat, timbre, tables[voice.timbre], voice.volume, voice.pan);
        }
    }
    Reverb(m_sampleRate, 0.55, 0.45, 0.22).Process(buffer);
    buffer.Normalize(kPeakLevel);
    FadeEdges(buffer, maxSeconds > 0 ? tail : kTailSeconds * 0.8);
    return buffer;
}
