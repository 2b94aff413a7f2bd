#pragma once
// The bundle of the program's own content that the main data file holds: the default chapter tree for new
// projects, the help texts, the skin pictures, the music offered to projects and the spoken comments.
// "main.evb" is one evBranding body from its first byte.
//
// Body on the stream (version 4), after the evObject header:
//   string      name
//   reference   chapter tree          (evCategory or "NP")
//   collection  help texts            (evHelptext)
//   collection  pictures              (version >= 2, else empty; evPicture)
//   collection  music                 (version >= 3, else empty; evMusic)
//   collection  speech clips          (version >= 4, else empty; evMusic)

#include "model/evObject.h"
#include "model/evObjectCollection.h"

#include <cstdint>
#include <memory>
#include <string>

class evCategory;

class evBranding : public evObject {
    EV_DECLARE_CLASS(evBranding, evObject)

public:
    explicit evBranding(std::string name);
    evBranding(std::string name, std::unique_ptr<evCategory> chapterTree, std::unique_ptr<evObjectCollection> helpTexts,
               std::unique_ptr<evObjectCollection> pictures, std::unique_ptr<evObjectCollection> music,
               std::unique_ptr<evObjectCollection> speech);
    evBranding(Stream& stream, ProgressBar* progress);
    ~evBranding() override;

    static constexpr int32_t kVersion = 4;
    int32_t GetVersion() const override { return kVersion; }
    void SaveToStream(Stream& stream) const override;
    std::unique_ptr<evObject> Clone() const override;
    bool IsEqual(const evObject* other) const override;
    std::string ToString() const override;

    const std::string& GetName() const { return m_name; }
    evCategory* GetChapterTree() const { return m_chapterTree.get(); }
    evObjectCollection& GetHelpTexts() { return *m_helpTexts; }
    const evObjectCollection& GetHelpTexts() const { return *m_helpTexts; }
    evObjectCollection& GetPictures() { return *m_pictures; }
    const evObjectCollection& GetPictures() const { return *m_pictures; }
    evObjectCollection& GetMusic() { return *m_music; }
    const evObjectCollection& GetMusic() const { return *m_music; }
    evObjectCollection& GetSpeech() { return *m_speech; }
    const evObjectCollection& GetSpeech() const { return *m_speech; }
    // Replace the list and free the one replaced.
    void SetMusic(std::unique_ptr<evObjectCollection> music);
    void SetSpeech(std::unique_ptr<evObjectCollection> speech);

private:
    std::string m_name;
    std::unique_ptr<evCategory> m_chapterTree;
    std::unique_ptr<evObjectCollection> m_helpTexts;
    std::unique_ptr<evObjectCollection> m_pictures;
    std::unique_ptr<evObjectCollection> m_music;
    std::unique_ptr<evObjectCollection> m_speech;
};
