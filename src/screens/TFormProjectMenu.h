#pragma once
// The project menu: shown while a project is open. It carries the project's status lines and the buttons that
// run the page editors, the chapter tree, the personal data, the music, finishing, the studio page and the
// label kit, and it saves or closes the project. While it runs it keeps the project's "modified" flag for every
// other screen (ProjectModificationHost). It owns the one timeline strip that the page editors borrow.

#include "model/ProjectModification.h"
#include "screens/SkinnedScreen.h"

#include <QFont>
#include <QString>

#include <cstdint>
#include <vector>

class TframeTimeline;
class evCategory;
class evProject;

class TFormProjectMenu : public SkinnedScreen, public ProjectModificationHost {
    Q_OBJECT

public:
    // What the main menu is told: 0 back to the main menu, -2 leave the program, otherwise a help text to show.
    enum : int32_t { ResultBack = 0, ResultLeave = -2, ResultNoProject = 83, ResultFailed = 92 };
    static constexpr TColor kGreen = RGBColor(0, 128, 0);
    static constexpr TColor kMaroon = RGBColor(128, 0, 0);

    // Where the timeline starts: the category whose pages it shows and the page selected in it.
    struct TimelinePosition {
        evCategory* category = nullptr;
        evCategory* page = nullptr;
    };

    TFormProjectMenu();
    ~TFormProjectMenu() override;

    // Needs AppContext()'s current project.
    int32_t Run();
    // Everything Run does before the menu is shown; false (result 83) without a project.
    bool Prepare();
    // Everything Run does after the menu closed: the strip comes home and forgets the project, the pictures go.
    void Conclude();

    // ProjectModificationHost: a change makes the save button available.
    void MarkModified() override;
    bool IsModified() const override { return m_modified; }

    void imgEdPrj_ActClick();
    void imgEdStory_ActClick();
    void ImgEdPers_ActClick();
    void imgMusic_ActClick();
    void imgSave_ActClick();
    // Saves the open project and updates the save button and the status lines; false when it failed.
    bool Save();
    void imgFin_ActClick();
    void imgExitPrj_ActClick();
    void imgExitPrg_ActClick();
    void imgStudio_ActiveClick();
    void imgBtn_Labelkit_ActClick();
    void Image1DblClick(Qt::KeyboardModifiers modifiers);
    void imgExtra1Click();
    void imgExtra2Click();
    // (x, y) in panel coordinates; the sender is the image that reported the move.
    void ImgBGMouseMove(const QObject* sender, int x, int y);

    void RefreshStatus();
    // Where the timeline starts for the project (see the .cpp).
    static TimelinePosition StartPosition(const evProject& project);
    // The text with leading characters dropped and "..." put in front until it is no wider than the width.
    static QString ShortenAtStart(const QString& text, const QFont& font, int width);

    int32_t GetResult() const { return m_result; }
    int32_t GetCurrentEditor() const { return m_currentEditor; }
    bool IsStudioAvailable() const { return m_studioAvailable; }
    TframeTimeline& Timeline() const { return *m_timeline; }

    TImage* ImgBG;
    TImage* imgEdPrj_Act;
    TImage* imgEdStory_Act;
    TImage* ImgEdPers_Act;
    TImage* imgMusic_InAct;
    TImage* imgMusic_Act;
    TImage* imgFin_Act;
    TImage* imgSave_Act;
    TImage* imgSave_InAct;
    TImage* imgBtn_LabelKit;
    TImage* imgLabelKitText;
    TImage* imgBtn_Labelkit_Act;
    TImage* ImgStudioBG;
    TImage* imgStudio_Active;
    TImage* imgExitPrj_Act;
    TImage* imgExitPrg_Act;
    TImage* Image1;
    TImage* imgExtra1;
    TImage* imgExtra2;
    TLabel* labelStatus;
    TLabel* labelMusic;
    TLabel* labelSaved;
    TLabel* labelPerson;
    TLabel* labelHelp;

private:
    struct MenuPicture {
        TImage* image;
        int32_t normal;
        int32_t alternative;
    };
    struct HoverButton {
        TImage* image;
        int32_t hint;
    };

    TImage* AddButton(const Geometry::ControlRect& rect, void (TFormProjectMenu::*click)());
    void ConnectMouseMoves(TImage* image);
    void Guarded(void (TFormProjectMenu::*handler)());
    void LoadMenuPictures();
    void ClearMenuPictures();
    void LoadAllPictures();
    void ClearAllPictures();
    void PutTimelineOnStartPage();
    int32_t RunPageEditors();
    void LendTimeline(QWidget* panel);
    void TakeTimelineBack();
    void Leave();
    bool HoverAllowed(const TImage* image) const;
    bool LabelKitAvailable() const;
    void ShowHint(int32_t hint);
    void KeepRecoveryCopy();

    std::vector<MenuPicture> m_pictures;
    std::vector<HoverButton> m_buttons;
    TframeTimeline* m_timeline;
    bool m_modified = false;
    int32_t m_result = ResultBack;
    int32_t m_hint = -1;
    int32_t m_currentEditor = 2;
    bool m_studioAvailable = false;
    bool m_alternativePictures = false;
    bool m_alternativeHints = false;
};
