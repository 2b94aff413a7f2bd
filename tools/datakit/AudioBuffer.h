#pragma once
// Interleaved floating-point audio as the data kit makes it: samples from -1 to 1, channel after channel.

#include <cmath>
#include <vector>

struct AudioBuffer {
    int sampleRate = 44100;
    int channels = 2;
    std::vector<float> samples;

    size_t Frames() const { return channels > 0 ? samples.size() / static_cast<size_t>(channels) : 0; }
    double Seconds() const { return sampleRate > 0 ? static_cast<double>(Frames()) / sampleRate : 0; }
    float Peak() const
    {
        float peak = 0;
        for (float s : samples)
            peak = std::max(peak, std::abs(s));
        return peak;
    }
    // Scales the audio so that its peak is `level` (nothing for silence).
    void Normalize(float level)
    {
        const float peak = Peak();
        if (peak <= 0)
            return;
        const float gain = level / peak;
        for (float& s : samples)
            s *= gain;
    }
};
