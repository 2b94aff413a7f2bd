#pragma once
// Plays a score (MusicScore) into stereo audio with a small additive synthesizer: every note is a wavetable of a
// few harmonics with soft attack and release, two slightly detuned copies for a chorus, gentle vibrato on the
// sustained timbres, and a room reverb over the whole. The result is normalised below full scale, so it never
// clips, and ends with the reverb's tail faded out, so a looping track restarts cleanly.
//
// Timbres: organ, strings, flute, harp, piano, bass, brass, pad, cello.

#include "AudioBuffer.h"

class MusicScore;

class Synthesizer {
public:
    static constexpr float kPeakLevel = 0.89f; // -1 dB full scale

    explicit Synthesizer(int sampleRate = 44100) : m_sampleRate(sampleRate) {}

    // The whole piece, or only its first maxSeconds when that is above 0 (tests use short renderings).
    AudioBuffer Render(const MusicScore& score, double maxSeconds = 0) const;

private:
    int m_sampleRate;
};
