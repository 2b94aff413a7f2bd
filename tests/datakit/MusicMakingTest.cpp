// The music of the data kit: scores read from text, played by the synthesizer, encoded as Ogg Vorbis.
#include "ErrorOf.h"
#include "MusicScore.h"
#include "OggVorbis.h"
#include "SpeechSynthesizer.h"
#include "Synthesizer.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <cmath>

namespace {

const std::string kHeader = "title Test\ntempo 120\nbeats 4\nvoice lead flute volume 0.5 pan -0.5\n";

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

TEST(MusicScoreTest, ReadsNotesChordsRestsAndLengths)
{
    const MusicScore score = MusicScore::Parse(kHeader + "lead: C4 D#4:0.5 Bb3 r:1/2 C4+E4+G4:1.5 |\n", "piece.score");
    EXPECT_EQ(score.Title(), "Test");
    EXPECT_DOUBLE_EQ(score.SecondsPerBeat(), 0.5);
    ASSERT_EQ(score.Voices().size(), 1u);
    const ScoreVoice& voice = score.Voices()[0];
    EXPECT_EQ(voice.timbre, "flute");
    EXPECT_DOUBLE_EQ(voice.volume, 0.5);
    EXPECT_DOUBLE_EQ(voice.pan, -0.5);
    ASSERT_EQ(voice.notes.size(), 6u);
    EXPECT_EQ(voice.notes[0].key, 60);
    EXPECT_DOUBLE_EQ(voice.notes[0].length, 1);
    EXPECT_EQ(voice.notes[1].key, 63);
    EXPECT_DOUBLE_EQ(voice.notes[1].start, 1);
    EXPECT_EQ(voice.notes[2].key, 58);
    EXPECT_DOUBLE_EQ(voice.notes[2].length, 0.5); // the length holds for the following notes
    EXPECT_DOUBLE_EQ(voice.notes[3].start, 2.5);  // after the rest of half a beat
    EXPECT_EQ(voice.notes[4].key, 64);
    EXPECT_EQ(voice.notes[5].key, 67);
    EXPECT_DOUBLE_EQ(voice.notes[5].length, 1.5);
    EXPECT_DOUBLE_EQ(score.LengthInBeats(), 4);
}

TEST(MusicScoreTest, RefusesMistakesWithTheirLine)
{
    // clang-format off
    const std::pair<std::string, std::string> cases[] = {
        {kHeader + "lead: C4 D4 E4 |\n", "5: bar line after 3.000000 beats of \"lead\": the bar is not full (4 beats a bar)"},
        {kHeader + "lead: H4\n", "5: \"H4\" is not a note (such as C4, F#5, Bb3)"},
        {kHeader + "lead: C4:0\n", "5: \"0\" is not a number from 0.015625 to 64.000000"},
        {kHeader + "lead: [ C4\n", "5: this \"[\" is never closed"},
        {kHeader + "alto: C4\n", "5: the voice \"alto\" is not declared (voice NAME TIMBRE ...)"},
        {"tempo 60\n", "1: a score needs a title, a tempo and at least one voice"},
        {kHeader + "lead: [ [ [ [ [ [ [ C4 ]x2 ]x2 ]x2 ]x2 ]x2 ]x2 ]x2\n", "5: groups nest at most 6 deep"},
        {kHeader + "lead: [ [ [ [ | ]x64 ]x64 ]x64 ]x64\n", "5: the repeats make the score too long"},
    };
    // clang-format on
    for (const auto& [content, message] : cases)
        EXPECT_EQ(ErrorOf([&] { MusicScore::Parse(content, "piece.score"); }), "piece.score:" + message);
}

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
