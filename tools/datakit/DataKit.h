#pragma once
// Builds the program's default data from the human-readable sources in data-src/, with the program's own model
// classes and writers:
//
//   OUT/data/main.evb      one evBranding: help texts, skin pictures, the default chapter tree, music, speech
//   OUT/data/music.evb     collection file of the music tracks (the same tracks, in the same order)
//   OUT/data/speaker.evb   collection file of the spoken comments
//   OUT/data/studio.evb    the studio design (an evLayout whose page layout "STUDIO" marks the studio's slots)
//   OUT/designs/NAME.evl   one evLayout per description in data-src/designs/*.json
//
// Sources: help-texts.txt and speech-clips.txt (HelpTextSource), chapters.txt (ChapterTreeSource),
// music/*.score (MusicScore, played by Synthesizer, encoded by OggVorbis), designs/*.json and studio.json
// (DesignCompiler). Every file is written beside its final name and then renamed over it, so a failed run never
// leaves a half-written file where the program looks for it.

#include "AudioBuffer.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class evLayout;
class evObjectCollection;

struct DataKitOptions {
    std::string sourceFolder = "data-src";
    std::string outputFolder = "build/bin";
    // Above 0: only the first seconds of each piece of music are rendered (tests keep to a few seconds).
    double musicSeconds = 0;
    // Where font files are looked up; empty for the system's font folders.
    std::vector<std::string> fontFolders;
    // Receives one line for each file written.
    std::function<void(const std::string&)> report;
};

class DataKit {
public:
    static constexpr int kHelpTextCount = 300;
    static constexpr int kSpeechClipCount = 15;

    explicit DataKit(DataKitOptions options);
    ~DataKit();

    // Everything, in the order: designs, studio design, sound lists, main data file.
    void BuildAll();
    // Returns the paths written.
    std::vector<std::string> BuildDesigns();
    std::string BuildStudio();
    // Renders and encodes the music and the speech clips and writes music.evb and speaker.evb.
    void BuildSoundLists();
    // Needs the sound lists (builds them first when they are not built yet).
    std::string BuildMainFile();

    // Paths of the folders written to.
    std::string DataFolder() const;
    std::string DesignsFolder() const;

    // Compiles a design description and gives it its sample picture (a miniature of its sample page, filled
    // with sample photographs).
    std::unique_ptr<evLayout> CompileDesign(const std::string& path,
                                            const std::vector<std::string>& requiredKeys) const;

    // Writes bytes to a file beside the path and renames it over the path.
    static void WriteAtomically(const std::string& path, const std::vector<uint8_t>& bytes);

private:
    std::unique_ptr<evObjectCollection> BuildMusic(const std::string& workFolder) const;
    std::unique_ptr<evObjectCollection> BuildSpeech(const std::string& workFolder) const;
    std::unique_ptr<evObjectCollection> BuildHelpTexts() const;
    std::unique_ptr<evObjectCollection> BuildSkinPictures() const;
    void EncodeChecked(const AudioBuffer& audio, float quality, const std::string& path,
                       const std::string& title) const;
    void RemoveStaleDesigns(const std::vector<std::string>& written) const;
    void Report(const std::string& line) const;
    std::string Source(const std::string& name) const;

    DataKitOptions m_options;
    std::unique_ptr<evObjectCollection> m_music;
    std::unique_ptr<evObjectCollection> m_speech;
};
