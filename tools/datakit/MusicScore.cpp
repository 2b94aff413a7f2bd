#include "MusicScore.h"

#include <cmath>
#include <fstream>
#include <memory>
#include <sstream>

namespace {

constexpr size_t kMaxFileSize = 1024 * 1024;
constexpr double kMaxBeats = 4000;
constexpr int kMaxRepeat = 64;
constexpr size_t kMaxGroupDepth = 6;
constexpr long kMaxTokensPlayed = 500000;
constexpr double kEpsilon = 1e-6;

struct Token {
    std::string text;
    int line = 0;
};

// A voice's tokens as a tree of repeated groups.
struct Node {
    Token token;    // a leaf when children is empty and repeat is 0
    int repeat = 0; // a group when > 0
    std::vector<std::unique_ptr<Node>> children;
};

std::vector<std::string> Words(const std::string& line)
{
    std::vector<std::string> words;
    std::istringstream stream(line);
    std::string word;
    while (stream >> word)
        words.push_back(word);
    return words;
}

} // namespace

class ScoreReader {
public:
    explicit ScoreReader(std::string sourceName) : m_sourceName(std::move(sourceName)) {}

    MusicScore Read(std::string_view content);

private:
    [[noreturn]] void Fail(int line, const std::string& message) const
    {
        throw EDataSourceError(m_sourceName + ":" + std::to_string(line) + ": " + message);
    }
    void ReadLine(const std::string& line, int number);
    void ReadVoice(const std::vector<std::string>& words, int number);
    double ReadNumber(const std::string& text, int line, double min, double max) const;
    ScoreVoice* FindVoice(const std::string& name);

    std::unique_ptr<Node> BuildTree(const std::vector<Token>& tokens) const;
    void Play(const Node& node, ScoreVoice& voice, int depth);
    void PlayToken(const Token& token, ScoreVoice& voice);
    void CheckBar(const Token& token, const ScoreVoice& voice) const;
    void SetLoudness(const Token& token);
    void PlayNotes(const Token& token, ScoreVoice& voice);
    double ReadLength(const std::string& text, int line) const;
    int ReadKey(const std::string& text, int line) const;
    void AddCanons();

    std::string m_sourceName;
    MusicScore m_score;
    std::map<std::string, std::vector<Token>> m_tokens;
    double m_currentLength = 1;
    double m_velocity = 0.75;
    int m_lastLine = 0;
    long m_played = 0;
};

double ScoreReader::ReadNumber(const std::string& text, int line, double min, double max) const
{
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !(value >= min && value <= max))
        Fail(line, "\"" + text + "\" is not a number from " + std::to_string(min) + " to " + std::to_string(max));
    return value;
}

ScoreVoice* ScoreReader::FindVoice(const std::string& name)
{
    for (ScoreVoice& voice : m_score.m_voices)
        if (voice.name == name)
            return &voice;
    return nullptr;
}

void ScoreReader::ReadVoice(const std::vector<std::string>& words, int number)
{
    if (words.size() < 3)
        Fail(number, "a voice line is: voice NAME TIMBRE [volume V] [pan P] [canon SOURCE BEATS]");
    ScoreVoice voice;
    voice.name = words[1];
    voice.timbre = words[2];
    if (FindVoice(voice.name))
        Fail(number, "the voice \"" + voice.name + "\" is declared twice");
    bool known = false;
    for (const std::string& timbre : MusicScore::Timbres())
        known = known || timbre == voice.timbre;
    if (!known)
        Fail(number, "unknown timbre \"" + voice.timbre + "\"");
    for (size_t i = 3; i < words.size(); i += 2) {
        if (i + 1 >= words.size())
            Fail(number, "\"" + words[i] + "\" needs a value");
        if (words[i] == "volume") {
            voice.volume = ReadNumber(words[i + 1], number, 0, 1);
        } else if (words[i] == "pan") {
            voice.pan = ReadNumber(words[i + 1], number, -1, 1);
        } else if (words[i] == "canon" && i + 2 < words.size()) {
            voice.canonOf = words[i + 1];
            voice.canonDelay = ReadNumber(words[i + 2], number, 0, kMaxBeats);
            ++i;
        } else {
            Fail(number, "unknown voice option \"" + words[i] + "\" (volume, pan, canon SOURCE BEATS)");
        }
    }
    m_score.m_voices.push_back(voice);
}

void ScoreReader::ReadLine(const std::string& line, int number)
{
    const size_t colon = line.find(':');
    const std::vector<std::string> words = Words(line);
    const std::string& head = words[0];
    if (head == "title" || head == "composer") {
        const std::string rest = line.substr(line.find(head) + head.size());
        const size_t first = rest.find_first_not_of(" \t");
        if (first == std::string::npos)
            Fail(number, head + " needs a text");
        (head == "title" ? m_score.m_title : m_score.m_composer) =
            rest.substr(first, rest.find_last_not_of(" \t") - first + 1);
    } else if (head == "tempo" && words.size() == 2) {
        m_score.m_tempo = ReadNumber(words[1], number, 20, 300);
    } else if (head == "beats" && words.size() == 2) {
        m_score.m_beatsPerBar = static_cast<int>(ReadNumber(words[1], number, 1, 16));
    } else if (head == "voice") {
        ReadVoice(words, number);
    } else if (colon != std::string::npos && colon > 0 && line.substr(0, colon).find(' ') == std::string::npos) {
        const std::string name = line.substr(0, colon);
        ScoreVoice* voice = FindVoice(name);
        if (!voice)
            Fail(number, "the voice \"" + name + "\" is not declared (voice NAME TIMBRE ...)");
        if (!voice->canonOf.empty())
            Fail(number, "the voice \"" + name + "\" plays a canon; it has no notes of its own");
        for (const std::string& word : Words(line.substr(colon + 1)))
            m_tokens[name].push_back(Token{word, number});
    } else {
        Fail(number, "expected title, composer, tempo N, beats N, voice ... or NAME: notes");
    }
}

std::unique_ptr<Node> ScoreReader::BuildTree(const std::vector<Token>& tokens) const
{
    std::vector<std::unique_ptr<Node>> stack;
    stack.push_back(std::make_unique<Node>());
    stack.back()->repeat = 1;
    for (const Token& token : tokens) {
        if (token.text == "[") {
            if (stack.size() > kMaxGroupDepth)
                Fail(token.line, "groups nest at most " + std::to_string(kMaxGroupDepth) + " deep");
            stack.push_back(std::make_unique<Node>());
            stack.back()->token = token;
            continue;
        }
        if (token.text.size() >= 3 && token.text[0] == ']' && token.text[1] == 'x') {
            if (stack.size() < 2)
                Fail(token.line, "\"" + token.text + "\" closes no \"[\"");
            std::unique_ptr<Node> group = std::move(stack.back());
            stack.pop_back();
            group->repeat = static_cast<int>(ReadNumber(token.text.substr(2), token.line, 1, kMaxRepeat));
            stack.back()->children.push_back(std::move(group));
            continue;
        }
        if (token.text[0] == ']')
            Fail(token.line, "a group ends with \"]x\" and the number of times, e.g. \"]x2\"");
        auto leaf = std::make_unique<Node>();
        leaf->token = token;
        stack.back()->children.push_back(std::move(leaf));
    }
    if (stack.size() != 1)
        Fail(stack.back()->token.line, "this \"[\" is never closed");
    return std::move(stack.front());
}

int ScoreReader::ReadKey(const std::string& text, int line) const
{
    static const int kSteps[] = {9, 11, 0, 2, 4, 5, 7}; // A B C D E F G
    const bool valid = (text.size() == 2 || text.size() == 3) && text[0] >= 'A' && text[0] <= 'G';
    if (!valid)
        Fail(line, "\"" + text + "\" is not a note (such as C4, F#5, Bb3)");
    int key = kSteps[text[0] - 'A'];
    size_t pos = 1;
    if (text[pos] == '#' || text[pos] == 'b') {
        key += text[pos] == '#' ? 1 : -1;
        ++pos;
    }
    if (pos != text.size() - 1 || text[pos] < '0' || text[pos] > '8')
        Fail(line, "\"" + text + "\" is not a note (such as C4, F#5, Bb3)");
    return key + 12 * (text[pos] - '0' + 1);
}

double ScoreReader::ReadLength(const std::string& text, int line) const
{
    const size_t slash = text.find('/');
    if (slash == std::string::npos)
        return ReadNumber(text, line, 1.0 / 64, 64);
    const double numerator = ReadNumber(text.substr(0, slash), line, 1, 64);
    const double denominator = ReadNumber(text.substr(slash + 1), line, 1, 64);
    return numerator / denominator;
}

void ScoreReader::CheckBar(const Token& token, const ScoreVoice& voice) const
{
    const double bars = voice.beats / m_score.m_beatsPerBar;
    if (std::abs(bars - std::round(bars)) > kEpsilon)
        Fail(token.line, "bar line after " + std::to_string(voice.beats) + " beats of \"" + voice.name +
                             "\": the bar is not full (" + std::to_string(m_score.m_beatsPerBar) + " beats a bar)");
}

void ScoreReader::SetLoudness(const Token& token)
{
    static const std::map<std::string, double> kLevels = {{"!pp", 0.35}, {"!p", 0.5},  {"!mp", 0.62},
                                                          {"!mf", 0.75}, {"!f", 0.88}, {"!ff", 1.0}};
    const auto level = kLevels.find(token.text);
    if (level == kLevels.end())
        Fail(token.line, "unknown loudness \"" + token.text + "\" (!pp !p !mp !mf !f !ff)");
    m_velocity = level->second;
}

// A note, a chord ("C4+E4+G4") or a rest ("r"), with an optional length after ":".
void ScoreReader::PlayNotes(const Token& token, ScoreVoice& voice)
{
    const std::string& text = token.text;
    const size_t colon = text.find(':');
    if (colon != std::string::npos)
        m_currentLength = ReadLength(text.substr(colon + 1), token.line);
    const std::string pitches = text.substr(0, colon);
    if (pitches != "r") {
        size_t start = 0;
        while (true) {
            const size_t plus = pitches.find('+', start);
            const std::string one = pitches.substr(start, plus == std::string::npos ? std::string::npos : plus - start);
            voice.notes.push_back(ScoreNote{voice.beats, m_currentLength, ReadKey(one, token.line), m_velocity});
            if (plus == std::string::npos)
                break;
            start = plus + 1;
        }
    }
    voice.beats += m_currentLength;
    if (voice.beats > kMaxBeats)
        Fail(token.line,
             "the voice \"" + voice.name + "\" is longer than " + std::to_string(int(kMaxBeats)) + " beats");
}

void ScoreReader::PlayToken(const Token& token, ScoreVoice& voice)
{
    m_lastLine = token.line;
    if (++m_played > kMaxTokensPlayed)
        Fail(token.line, "the repeats make the score too long");
    if (token.text == "|")
        CheckBar(token, voice);
    else if (token.text[0] == '!')
        SetLoudness(token);
    else
        PlayNotes(token, voice);
}

void ScoreReader::Play(const Node& node, ScoreVoice& voice, int depth)
{
    if (node.repeat == 0) {
        PlayToken(node.token, voice);
        return;
    }
    for (int i = 0; i < node.repeat; ++i)
        for (const auto& child : node.children)
            Play(*child, voice, depth + 1);
}

void ScoreReader::AddCanons()
{
    for (ScoreVoice& voice : m_score.m_voices) {
        if (voice.canonOf.empty())
            continue;
        const ScoreVoice* source = FindVoice(voice.canonOf);
        if (!source || !source->canonOf.empty())
            Fail(m_lastLine, "the canon voice \"" + voice.name + "\" follows \"" + voice.canonOf +
                                 "\", which is not a voice with notes of its own");
        for (ScoreNote note : source->notes) {
            note.start += voice.canonDelay;
            if (note.start + kEpsilon < m_score.m_length)
                voice.notes.push_back(note);
        }
        voice.beats = m_score.m_length;
    }
}

MusicScore ScoreReader::Read(std::string_view content)
{
    std::istringstream stream{std::string(content)};
    std::string line;
    for (int number = 1; std::getline(stream, line); ++number) {
        const size_t hash = line.find('#');
        // A "#" after a note letter is a sharp; only a "#" at the start of a word begins a comment.
        if (hash != std::string::npos && (hash == 0 || line[hash - 1] == ' ' || line[hash - 1] == '\t'))
            line = line.substr(0, hash);
        if (Words(line).empty())
            continue;
        ReadLine(line, number);
        m_lastLine = number;
    }
    if (m_score.m_title.empty() || m_score.m_tempo <= 0 || m_score.m_voices.empty())
        Fail(m_lastLine, "a score needs a title, a tempo and at least one voice");
    for (ScoreVoice& voice : m_score.m_voices) {
        if (!voice.canonOf.empty())
            continue;
        m_currentLength = 1;
        m_velocity = 0.75;
        Play(*BuildTree(m_tokens[voice.name]), voice, 0);
        m_score.m_length = std::max(m_score.m_length, voice.beats);
    }
    AddCanons();
    if (m_score.m_length <= 0)
        Fail(m_lastLine, "the score has no notes");
    return std::move(m_score);
}

MusicScore MusicScore::Parse(std::string_view content, const std::string& sourceName)
{
    return ScoreReader(sourceName).Read(content);
}

MusicScore MusicScore::Load(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw EDataSourceError(path + ": cannot be read");
    std::string content(kMaxFileSize + 1, '\0');
    file.read(content.data(), static_cast<std::streamsize>(content.size()));
    if (static_cast<size_t>(file.gcount()) > kMaxFileSize)
        throw EDataSourceError(path + ": larger than a score can be (1 MB)");
    content.resize(static_cast<size_t>(file.gcount()));
    return Parse(content, path);
}

const std::vector<std::string>& MusicScore::Timbres()
{
    static const std::vector<std::string> timbres = {"organ", "strings", "flute", "harp", "piano",
                                                     "bass",  "brass",   "pad",   "cello"};
    return timbres;
}
