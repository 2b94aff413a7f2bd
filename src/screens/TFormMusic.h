#pragma once
// The music screen: the user picks the open project's background music from the music list of the branding
// bundle, takes an MP3 file of their own, or chooses no music. A chosen track plays at once; accepting stores the
// choice in the project.

#include "screens/SkinnedScreen.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

class evMusic;
class evObjectCollection;
class evProject;

class TFormMusic : public SkinnedScreen {
    Q_OBJECT

public:
    TFormMusic();
    ~TFormMusic() override;

    // Shows the screen for the open project.
    void Run();
    // What Run does before the modal show: pictures, state, list labels and the project's current music.
    void Prepare();
    // What Run does after it: stops every sound, frees the list labels and releases the pictures.
    void Finish();

    void LabelClick(int32_t index);
    void imgBtnPlayStopClick();
    void imgSelectMusicClick();
    void imgBtnNoMusicClick();
    void imgBtnAcceptClick();
    void imgBtnCancelClick();
    void ImgUpMouseDown();
    void ImgDownMouseDown();

    // The track that play, stop and the hints refer to; nullptr for none.
    evMusic* CurrentTrack() const;
    // Drops trailing characters until the text fits the width in lblMusicFile's font, marking the cut with "...".
    QString ShortenToWidth(const QString& text, int width) const;

    const std::vector<TLabel*>& ListLabels() const { return m_listLabels; }
    int32_t FirstVisible() const { return m_firstVisible; }
    int32_t Selected() const { return m_selected; }
    const evMusic* FileTrack() const { return m_fileTrack.get(); }
    bool IsChanged() const { return m_changed; }

    TImage* ImgBG;
    TImage* imgCnt;
    TImage* imgHelp;
    TLabel* labelHelp;
    TImage* imgBtn;
    TImage* imgStop;
    TImage* imgSelectMusic;
    TImage* imgBtnNoMusic;
    TImage* imgBtnPlayStop;
    TImage* imgBtnCancel;
    TImage* imgBtnAccept;
    TLabel* lblMusicFile;
    TImage* ImgUp;
    TImage* ImgDown;
    TImage* imgLogo;

protected:
    // The list labels report their clicks and mouse moves here.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ConnectButtons();
    void ConnectHints();
    void ShowHint(int32_t index);
    int32_t PlayStopHint() const;

    evObjectCollection* MusicList() const;
    evProject* Project() const;
    void BuildListLabels();
    void FreeListLabels();
    void ScrollList(int32_t step);
    void SelectListTrack(int32_t index);
    void ShowMusicFile(const QString& name);

    void StopCurrentTrack();
    void StartCurrentTrack();
    void ForgetFileTrack();
    void ChooseOwnFile(const std::string& file);
    void ShowMessage(const QString& text);

    std::vector<TLabel*> m_listLabels;
    int32_t m_firstVisible = 0;
    int32_t m_selected = -1;
    std::unique_ptr<evMusic> m_fileTrack;
    bool m_changed = false;
    int32_t m_rememberedHint = -1;
};
