#pragma once
// A piece of music as the data kit's synthesizer plays it, read from a score file (data-src/music/*.score):
//
//   # a comment
//   title     Canon in D                     shown in the program's music list
//   composer  Johann Pachelbel               for people
//   tempo     60                             quarter notes per minute
//   beats     4                              beats per bar: every bar line "|" is checked against it
//   voice bass    cello   volume 0.5 pan -0.2
//   voice violin2 strings volume 0.4 pan 0.3 canon violin1 8
//   bass: [ D3:1 A2 B2 F#2 | G2 D2 G2 A2 | ]x8
//
// A "voice" line declares a voice: its name, its timbre (see Synthesizer) and optionally its volume (0 to 1),
// its place in the stereo field (-1 left to 1 right) and "canon SOURCE BEATS": the voice then plays the notes
// of SOURCE again, BEATS later. "NAME: ..." lines append notes to a voice, one token after another:
//
//   C5  F#4  Bb3      a note (letter, optional # or b, octave); C4 is middle C
//   C4+E4+G4          a chord
//   r                 a rest
//   :2  :0.5  :1/3    after a note, chord or rest: its length in beats; it holds for the tokens that follow
//   |                 a bar line: the beats so far must fill whole bars
//   [ ... ]x3         the enclosed tokens three times (groups nest)
//   !pp !p !mp !mf !f !ff   loudness of the following notes
//
// Any mistake ends in EDataSourceError naming the file and the line.

#include "DataSourceError.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

struct ScoreNote {
    double start = 0;  // in beats
    double length = 0; // in beats
    int key = 60;      // MIDI key number, 60 = middle C
    double velocity = 0.75;
};

struct ScoreVoice {
    std::string name;
    std::string timbre;
    double volume = 0.7;
    double pan = 0;
    std::string canonOf;
    double canonDelay = 0;
    std::vector<ScoreNote> notes;
    double beats = 0; // length of the voice's own notes and rests
};

class MusicScore {
public:
    static MusicScore Parse(std::string_view content, const std::string& sourceName);
    static MusicScore Load(const std::string& path);

    const std::string& Title() const { return m_title; }
    const std::string& Composer() const { return m_composer; }
    double Tempo() const { return m_tempo; }
    int BeatsPerBar() const { return m_beatsPerBar; }
    const std::vector<ScoreVoice>& Voices() const { return m_voices; }
    // The length of the piece in beats (the longest voice).
    double LengthInBeats() const { return m_length; }
    double SecondsPerBeat() const { return 60.0 / m_tempo; }

    // Timbres a voice may name.
    static const std::vector<std::string>& Timbres();

private:
    std::string m_title;
    std::string m_composer;
    double m_tempo = 0;
    int m_beatsPerBar = 4;
    std::vector<ScoreVoice> m_voices;
    double m_length = 0;

    friend class ScoreReader;
};
