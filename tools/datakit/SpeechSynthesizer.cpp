#include "SpeechSynthesizer.h"

#include "platform/Errors.h"

#include <espeak-ng/espeak_ng.h>
#include <espeak-ng/speak_lib.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr const char* kVoice = "en-us+f2";
constexpr int kRate = 150; // words per minute: calm, as for someone hearing a program for the first time
constexpr int kPitch = 48;
constexpr double kLeadSeconds = 0.15;
constexpr double kTrailSeconds = 0.35;
constexpr float kLevel = 0.8f;
constexpr double kLowPassHz = 7000;

std::vector<short>* g_target = nullptr;

int Collect(short* samples, int count, espeak_EVENT*)
{
    if (g_target && samples && count > 0)
        g_target->insert(g_target->end(), samples, samples + count);
    return 0;
}

int InitializeOnce()
{
    static int rate = [] {
        espeak_ng_InitializePath(nullptr);
        espeak_ng_ERROR_CONTEXT context = nullptr;
        if (espeak_ng_Initialize(&context) != ENS_OK) {
            espeak_ng_ClearErrorContext(&context);
            return -1;
        }
        if (espeak_ng_InitializeOutput(ENOUTPUT_MODE_SYNCHRONOUS, 0, nullptr) != ENS_OK)
            return -1;
        espeak_SetSynthCallback(Collect);
        if (espeak_SetVoiceByName(kVoice) != EE_OK)
            return -1;
        espeak_SetParameter(espeakRATE, kRate, 0);
        espeak_SetParameter(espeakPITCH, kPitch, 0);
        return espeak_ng_GetSampleRate();
    }();
    return rate;
}

// The synthetic voice carries a buzz above the speech band; a gentle one-pole low-pass softens it.
void Soften(std::vector<float>& samples, int rate)
{
    const double rc = 1.0 / (2 * 3.14159265358979 * kLowPassHz);
    const float alpha = static_cast<float>((1.0 / rate) / (rc + 1.0 / rate));
    float state = 0;
    for (float& s : samples) {
        state += alpha * (s - state);
        s = state;
    }
}

} // namespace

SpeechSynthesizer::SpeechSynthesizer()
{
    m_sampleRate = InitializeOnce();
    if (m_sampleRate <= 0)
        throw EVelloraError("espeak-ng could not be set up (is espeak-ng-data installed?)");
}

AudioBuffer SpeechSynthesizer::Speak(const std::string& text) const
{
    AudioBuffer buffer;
    buffer.sampleRate = m_sampleRate;
    buffer.channels = 1;
    const bool blank = text.find_first_not_of(" \t\r\n") == std::string::npos;
    if (blank) {
        buffer.samples.assign(static_cast<size_t>(kSilentClipSeconds * m_sampleRate), 0.0f);
        return buffer;
    }
    std::vector<short> pcm;
    g_target = &pcm;
    const espeak_ERROR error =
        espeak_Synth(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr, nullptr);
    espeak_Synchronize();
    g_target = nullptr;
    if (error != EE_OK || pcm.empty())
        throw EVelloraError("espeak-ng could not speak \"" + text + "\"");
    buffer.samples.assign(static_cast<size_t>(kLeadSeconds * m_sampleRate), 0.0f);
    for (short s : pcm)
        buffer.samples.push_back(static_cast<float>(s) / 32768.0f);
    buffer.samples.resize(buffer.samples.size() + static_cast<size_t>(kTrailSeconds * m_sampleRate), 0.0f);
    Soften(buffer.samples, m_sampleRate);
    buffer.Normalize(kLevel);
    return buffer;
}
