#pragma once
// A small stereo room reverb in the classic arrangement of parallel damped comb filters followed by all-pass
// filters, one set per channel with slightly different delays so the room sounds wide.

#include "AudioBuffer.h"

#include <vector>

class Reverb {
public:
    // room: 0 (small) to 1 (large); damping: 0 (bright) to 1 (dull); wet: share of the reverberated sound.
    Reverb(int sampleRate, double room, double damping, double wet);
    // Processes a stereo buffer in place.
    void Process(AudioBuffer& buffer);

private:
    struct Comb {
        std::vector<float> line;
        size_t pos = 0;
        float store = 0;
    };
    struct AllPass {
        std::vector<float> line;
        size_t pos = 0;
    };
    float Run(float input, std::vector<Comb>& combs, std::vector<AllPass>& allPasses);

    std::vector<Comb> m_combs[2];
    std::vector<AllPass> m_allPasses[2];
    float m_feedback;
    float m_damping;
    float m_wet;
};
