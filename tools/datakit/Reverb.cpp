#include "Reverb.h"

namespace {
// Delays in samples at 44.1 kHz; the right channel's are longer by a fixed spread.
constexpr int kCombDelays[] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
constexpr int kAllPassDelays[] = {556, 441, 341, 225};
constexpr int kStereoSpread = 23;
constexpr float kAllPassFeedback = 0.5f;
constexpr float kInputGain = 0.015f;
constexpr float kWetScale = 3.0f;
} // namespace

Reverb::Reverb(int sampleRate, double room, double damping, double wet)
    : m_feedback(static_cast<float>(0.7 + 0.28 * room)), m_damping(static_cast<float>(damping * 0.4)),
      m_wet(static_cast<float>(wet))
{
    const double scale = sampleRate / 44100.0;
    for (int channel = 0; channel < 2; ++channel) {
        const int spread = channel * kStereoSpread;
        for (int delay : kCombDelays)
            m_combs[channel].push_back(
                Comb{std::vector<float>(static_cast<size_t>((delay + spread) * scale) + 1, 0.f)});
        for (int delay : kAllPassDelays)
            m_allPasses[channel].push_back(
                AllPass{std::vector<float>(static_cast<size_t>((delay + spread) * scale) + 1, 0.f)});
    }
}

float Reverb::Run(float input, std::vector<Comb>& combs, std::vector<AllPass>& allPasses)
{
    float out = 0;
    for (Comb& comb : combs) {
        const float delayed = comb.line[comb.pos];
        comb.store = delayed * (1 - m_damping) + comb.store * m_damping;
        comb.line[comb.pos] = input + comb.store * m_feedback;
        comb.pos = (comb.pos + 1) % comb.line.size();
        out += delayed;
    }
    for (AllPass& pass : allPasses) {
        const float delayed = pass.line[pass.pos];
        pass.line[pass.pos] = out + delayed * kAllPassFeedback;
        pass.pos = (pass.pos + 1) % pass.line.size();
        out = delayed - out;
    }
    return out;
}

void Reverb::Process(AudioBuffer& buffer)
{
    if (buffer.channels != 2)
        return;
    const float dry = 1.0f - m_wet * 0.5f;
    for (size_t frame = 0; frame < buffer.Frames(); ++frame) {
        float& left = buffer.samples[2 * frame];
        float& right = buffer.samples[2 * frame + 1];
        const float input = (left + right) * kInputGain;
        const float wetLeft = Run(input, m_combs[0], m_allPasses[0]);
        const float wetRight = Run(input, m_combs[1], m_allPasses[1]);
        left = left * dry + wetLeft * m_wet * kWetScale;
        right = right * dry + wetRight * m_wet * kWetScale;
    }
}
