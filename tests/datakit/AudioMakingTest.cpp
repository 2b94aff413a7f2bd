#include "MusicScore.h"
#include "OggVorbis.h"
#include "SpeechSynthesizer.h"
#include "Synthesizer.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <cmath>

namespace {

MusicScore Piece()
{
    return MusicScore::Parse("title Test\ntempo 120\nbeats 4\nvoice a harp\nvoice b organ volume 1\n"
                             "a: C4+E4+G4:1 r:3 |\nb: !ff C3+C4+G4+C5+E5:4 |\n",
                             "piece.score");
}

float PeakOf(const AudioBuffer& audio, size_t from, size_t to)
{
    float peak = 0;
    for (size_t i = from * audio.channels; i < to * audio.channels && i < audio.samples.size(); ++i)
        peak = std::max(peak, std::abs(audio.samples[i]));
    return peak;
}

} // namespace

TEST(SynthesizerTest, RendersStereoBelowFullScaleWithAQuietEnd)
{
    const AudioBuffer audio = Synthesizer(22050).Render(Piece());
    EXPECT_EQ(audio.channels, 2);
    EXPECT_EQ(audio.sampleRate, 22050);
    // Two seconds of notes and the reverb's tail.
    EXPECT_NEAR(audio.Seconds(), 2.0 + 2.5, 0.01);
    EXPECT_NEAR(audio.Peak(), Synthesizer::kPeakLevel, 1e-4);
    EXPECT_EQ(audio.samples.front(), 0.0f);
    EXPECT_LT(PeakOf(audio, audio.Frames() - 10, audio.Frames()), 1e-3);
    EXPECT_GT(PeakOf(audio, 0, 4410), 0.05f);
}

TEST(OggVorbisTest, EncodedAudioDecodesToTheSameLengthAndLevel)
{
    QTemporaryDir folder;
    const std::string path = folder.filePath("piece.ogg").toStdString();
    const AudioBuffer audio = Synthesizer(22050).Render(Piece(), 0.5);
    OggVorbis::Encode(audio, 0.4f, path, "Test");
    const OggVorbis::Info info = OggVorbis::Inspect(path);
    EXPECT_EQ(info.channels, 2);
    EXPECT_EQ(info.sampleRate, 22050);
    EXPECT_NEAR(info.seconds, audio.Seconds(), 0.01);
    EXPECT_NEAR(info.peak, audio.Peak(), 0.1);
    EXPECT_LT(info.peak, 1.0f);
    EXPECT_THROW(OggVorbis::Inspect(folder.filePath("missing.ogg").toStdString()), EVelloraError);
    EXPECT_THROW(OggVorbis::Encode(AudioBuffer{}, 0.4f, path, "empty"), EVelloraError);
}
