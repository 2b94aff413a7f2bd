#pragma once
// The spoken comments of the screens, synthesised with espeak-ng in a calm English voice. The synthesiser is
// set up once per process (espeak-ng keeps global state).

#include "AudioBuffer.h"

#include <string>

class SpeechSynthesizer {
public:
    // EVelloraError when espeak-ng or its voice data cannot be set up.
    SpeechSynthesizer();

    // The text spoken (UTF-8), mono, with a little silence before and after. An empty text gives a short
    // silent clip.
    AudioBuffer Speak(const std::string& text) const;
    int SampleRate() const { return m_sampleRate; }

    static constexpr double kSilentClipSeconds = 0.5;

private:
    int m_sampleRate = 22050;
};
