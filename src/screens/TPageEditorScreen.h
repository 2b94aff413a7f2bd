#pragma once
// What the three page editors (layouts, pictures, texts) have in common: the top bar (back to the project
// menu, save, speaker, leave the program), the three tabs with their greyed covers, the help line, the full
// screen button, the keyboard, the hover images, the result that tells the project menu what comes next, and
// the timeline strip the menu lends them, whose page changes and hints arrive through ITimelineHost.
//
// An editor derives from this screen, adds its own controls and fills in PrepareEditor (its reset at the start
// of each run) and ShowThePage (showing the timeline's current page, also on every page change). Run follows
// the pattern of every screen: Prepare (skin, state, the page), the modal show while the result is still 0,
// then Finish.

#include "screens/IPageEditor.h"
#include "screens/ITimelineHost.h"
#include "screens/SkinnedScreen.h"

#include <cstdint>
#include <vector>

class evCategory;
class evLayout;
class evProject;
struct TRect;

class TPageEditorScreen : public SkinnedScreen, public IPageEditor, public ITimelineHost {
    Q_OBJECT

public:
    // What the project menu does when an editor closes.
    enum : int32_t { ResultProjectMenu = 0, ResultLeave = 1, ResultLayout = 2, ResultPictures = 3, ResultTexts = 4 };

    // The skin pictures and the spoken comment that differ between the editors, and which tab is the editor's own.
    struct Look {
        int32_t ownTab = ResultLayout;
        int32_t ownTabHint = -1;
        int32_t topPrjMenu = -1;
        int32_t topSave = -1;
        int32_t topExit = -1;
        int32_t fullscreen = -1;
        int32_t fullscreenHint = -1;
        int32_t speakerOff = -1;     // imgTopSpeaker while speech is off
        int32_t speakerOffOver = -1; // imgTopSpeakerOver while speech is off
        int32_t speakerOnOver = -1;  // imgTopSpeakerOver while speech is on
        int32_t speakerNoSound = -1; // imgTopSpeaker without sound or spoken comments
        int32_t speechClip = 0;
    };

    ~TPageEditorScreen() override;

    QWidget* MainPanel() const override { return Panel(); }
    int32_t Run(TframeTimeline& timeline) override;
    // The run up to the modal show: skin pictures, state, the editor's own reset and the page.
    void Prepare(TframeTimeline& timeline);
    // The end of a run: releases the skin pictures and stops the spoken comment.
    void Finish();

    void PageChanged() override;
    void ShowHint(int32_t index) override;

    void imgTopPrjMenuClick();
    void imgTopSaveClick();
    void imgTopSpeakerOverClick();
    void imgTopExitClick();
    // Alt+F4 decides like the exit button; Escape goes back to the project menu with the current result.
    void FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
    // A mouse move in panel coordinates, reported by the control the mouse is over (the sender).
    void PanelMouseMove(const QObject* sender, int x, int y);
    // The close query: the form closes only when it may.
    bool FormCloseQuery() const { return m_mayClose; }
    void UpdateSpeakerImages();
    // The question before leaving the program from a screen of the editors: with unsaved changes the
    // exit-and-save question (saving first when asked to), otherwise the exit question. True when the program is
    // to be left.
    static bool AskToLeave();
    // Puts the skin picture into the image; a picture that cannot be loaded leaves it empty (and is logged).
    static void SetSkinPicture(TImage* image, int32_t index);
    // The speaker button's two pictures for the state of speech (the gallery has the same button).
    static void ShowSpeaker(TImage* speaker, TImage* speakerOver, const Look& look);

    int32_t GetResult() const { return m_result; }
    bool GetMayClose() const { return m_mayClose; }
    int32_t GetHelpNumber() const { return m_helpNumber; }
    TframeTimeline* GetTimeline() const { return m_timeline; }
    // The timeline's current page; nullptr without a timeline.
    evCategory* CurrentPage() const;

    TImage* imgBtnLay = nullptr;
    TImage* imgBtnLayDisabled = nullptr;
    TImage* imgBtnPic = nullptr;
    TImage* imgBtnPicDisabled = nullptr;
    TImage* imgBtnTex = nullptr;
    TImage* imgBtnTexDisabled = nullptr;
    TImage* imgTopPrjMenu;
    TImage* imgTopSave;
    TImage* imgTopSpeaker;
    TImage* imgTopSpeakerOver;
    TImage* imgTopExit;
    TImage* imgFullscreen;
    TImage* imgLogo;
    TImage* cdrom;
    TLabel* labelHelp;

protected:
    explicit TPageEditorScreen(const Look& look);

    // The editor's own reset at the start of a run, before the page is shown.
    virtual void PrepareEditor() = 0;
    // Shows the timeline's current page, or leaves for the editor that fits it.
    virtual void ShowThePage() = 0;

    // A background picture that reports the mouse; it goes below every control made before it.
    TImage* AddBackground(const Geometry::ControlRect& rect, int32_t skinIndex);
    // Reports the image's mouse moves to PanelMouseMove, in panel coordinates.
    void ReportMouse(TImage* image);
    // Shows the help text while the mouse moves over the image.
    void AddHint(TImage* image, int32_t helpIndex);
    // An image HoverShow keeps under the mouse while it is enabled and its cover (if any) is hidden.
    void AddHover(TImage* image, const TImage* cover = nullptr);
    // The tab's greyed cover is shown exactly when its editor cannot be used for the page.
    void SetTabPossible(int32_t editor, bool possible);

    void SetResultAndClose(int32_t result);
    // Ends the run with the result as it is.
    void CloseForm();
    // The yellow selection frame (page pixels; none without a frame) on the page's rendered preview, stretched
    // over the preview image.
    static void ShowPageWithFrame(TImage* preview, const evCategory& page, const TRect* frame);
    static void DrawFrameAround(Bitmap& page, const TRect& frame);
    // The page as the player shows it, in the preview screen.
    static void ShowPresentation(evCategory& page);
    static evProject* Project();
    static evLayout* Design();

    void closeEvent(QCloseEvent* event) override;

    int32_t m_result = ResultProjectMenu;
    bool m_mayClose = false;
    int32_t m_helpNumber = -1;

private:
    struct HoverEntry {
        TImage* image;
        const TImage* cover;
    };

    void CreateTopBar();
    void CreateTabs();
    TImage* AddTab(const Geometry::ControlRect& rect, int32_t editor, int32_t skinIndex, int32_t hint);
    TImage* AddTabCover(const Geometry::ControlRect& rect, int32_t skinIndex);
    void ExitDecision();

    Look m_look;
    TframeTimeline* m_timeline = nullptr;
    std::vector<HoverEntry> m_hover;
};
