#include "MusicScore.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

std::string ErrorOf(std::string_view content)
{
    try {
        MusicScore::Parse(content, "piece.score");
    } catch (const EDataSourceError& e) {
        return e.what();
    }
    return "no error";
}

const char* kHeader = "title Test\ntempo 120\nbeats 4\nvoice lead flute volume 0.5 pan -0.5\n";

} // namespace

TEST(MusicScoreTest, ReadsNotesChordsRestsAndLengths)
{
    const MusicScore score =
        MusicScore::Parse(std::string(kHeader) + "lead: C4 D#4:0.5 Bb3 r:1/2 C4+E4+G4:1.5 |\n", "piece.score");
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
    const std::string h = kHeader;
    EXPECT_EQ(ErrorOf(h + "lead: C4 D4 E4 |\n"),
              "piece.score:5: bar line after 3.000000 beats of \"lead\": the bar is not full (4 beats a bar)");
    EXPECT_EQ(ErrorOf(h + "lead: H4\n"), "piece.score:5: \"H4\" is not a note (such as C4, F#5, Bb3)");
    EXPECT_EQ(ErrorOf(h + "lead: C4:0\n"), "piece.score:5: \"0\" is not a number from 0.015625 to 64.000000");
    EXPECT_EQ(ErrorOf(h + "lead: [ C4\n"), "piece.score:5: this \"[\" is never closed");
    EXPECT_EQ(ErrorOf(h + "lead: C4 ]x2\n"), "piece.score:5: \"]x2\" closes no \"[\"");
    EXPECT_EQ(ErrorOf(h + "alto: C4\n"), "piece.score:5: the voice \"alto\" is not declared (voice NAME TIMBRE ...)");
    EXPECT_EQ(ErrorOf(h + "voice x kazoo\n"), "piece.score:5: unknown timbre \"kazoo\"");
    EXPECT_EQ(ErrorOf(h + "lead: !loud C4\n"), "piece.score:5: unknown loudness \"!loud\" (!pp !p !mp !mf !f !ff)");
    EXPECT_EQ(ErrorOf("tempo 60\n"), "piece.score:1: a score needs a title, a tempo and at least one voice");
    EXPECT_EQ(ErrorOf(h + "lead: [ [ [ [ [ [ [ C4 ]x2 ]x2 ]x2 ]x2 ]x2 ]x2 ]x2\n"),
              "piece.score:5: groups nest at most 6 deep");
    EXPECT_EQ(ErrorOf(h + "lead: [ [ [ [ | ]x64 ]x64 ]x64 ]x64\n"),
              "piece.score:5: the repeats make the score too long");
}
