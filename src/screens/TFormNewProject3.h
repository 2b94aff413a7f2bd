#pragma once
// New project, page 3: the chapter tree, copied from the template of the main data and extended by the user,
// at most seven entries on a level. Its OK builds, saves and prepares the new project. The same page edits the
// chapter tree of the open project for the project menu (edit mode), where OK only accepts the edited copy.

#include "screens/SkinnedScreen.h"

#include <QImage>
#include <QTimer>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

class evCategory;
class evProject;

// projectsFolder + first name + " & " + second name + ".evp", with every character that cannot stand in a file
// name replaced, so the file always lies directly in the projects folder.
std::string NewProjectFileName(const std::string& projectsFolder, const std::string& firstName,
                               const std::string& secondName);

class TFormNewProject3 : public SkinnedScreen {
    Q_OBJECT

public:
    static constexpr int32_t kMaxLevelEntries = 7;
    static constexpr int kScrollInterval = 50;
    // How long an arrow is held before the list goes on moving by itself.
    static constexpr int kScrollDelay = 400;
    static constexpr int kWheelNotch = 120;
    static constexpr int kWheelRows = 3; // rows a notch of the wheel moves

    TFormNewProject3();
    ~TFormNewProject3() override;

    // Wizard mode: the new, saved project with its design, or nullptr when cancelled or failed.
    std::unique_ptr<evProject> Run(const std::string& firstName, const std::string& secondName,
                                   const std::string& designFileName, double date);
    // Edit mode on AppContext()->GetCurrentProject(): true when accepted, and the project's tree was replaced.
    bool RunEdit();

    // Wizard mode: loads the pictures and takes a copy of the template tree (none: an empty tree).
    void PrepareWizard(const std::string& firstName, const std::string& secondName, const std::string& designFileName,
                       double date, const evCategory* templateTree);
    // Edit mode: loads the pictures and takes a copy of the project's tree.
    void PrepareEdit(const evProject& project);
    // After the modal show in wizard mode: clears the pictures and the rows and hands over the new project when
    // accepted (the edited tree is discarded otherwise).
    std::unique_ptr<evProject> FinishWizard();
    // After the modal show in edit mode: gives the project the edited tree when accepted.
    bool FinishEdit(evProject& project);

    void SelectRow(int32_t row);
    void IconClick(int32_t row);
    void imgBtnListUpMouseDown();
    void imgBtnListDownMouseDown();
    // Either arrow released.
    void imgBtnListMouseUp();
    void ScrollTimerTick();
    // Moves the rows by that many (down for positive), within the list.
    void ScrollBy(int32_t rows);
    void ScrollIntoView(const evCategory* entry);
    void imgBtnNewClick();
    void imgBtnNewSubClick();
    void imgBtnEditNameClick();
    void imgBtnRemoveClick();
    void imgBtnCancelClick();
    // Cancels, after asking (see the definition).
    void EscapePressed();
    void imgBtnOkClick();
    void ImgBGMouseMove(int x, int y);

    evCategory* GetTree() const { return m_tree.get(); }
    // The entries in display order: an entry, its sub-entries, then its next sibling.
    const std::vector<evCategory*>& GetRows() const { return m_rows; }
    const std::vector<TLabel*>& GetRowLabels() const { return m_rowLabels; }
    const std::vector<TImage*>& GetRowIcons() const { return m_rowIcons; }
    // The depth of each row (0 for the top level).
    const std::vector<int>& GetRowDepths() const { return m_rowDepths; }
    int32_t GetSelected() const { return m_selected; }
    int32_t GetFirstVisible() const { return m_firstVisible; }
    bool IsScrollingUp() const { return m_scrollingUp; }
    bool IsScrollingDown() const { return m_scrollingDown; }
    bool IsEditMode() const { return m_editMode; }
    bool GetAccepted() const { return m_accepted; }
    // Set by OK in wizard mode.
    evProject* GetNewProject() const { return m_newProject.get(); }
    // The skin picture index each icon shows (25 fixed, 23 optional and on, 27 optional and off).
    static int32_t IconPictureFor(const evCategory& entry);

    TImage* ImgBG;
    TImage* imgTop;
    TImage* imgCnt;
    TImage* imgBtn;
    TImage* imgBtnNew;
    TImage* imgBtnNewSub;
    TImage* imgBtnEditName;
    TImage* imgBtnRemove;
    TImage* imgBtnDisabled;
    TImage* imgBt;
    TImage* imgBb;
    TImage* imgBtnCancel;
    TImage* imgBtnOk;
    TImage* imgHlp;
    TLabel* labelHelp;
    QTimer ScrollTimer;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PrepareCommon();
    void BuildRows();
    void FreeRows();
    void RebuildRows();
    void PlaceRows();
    void ColourRows();
    void RedrawIcons();
    void SetButtonsEnabledLook(bool enabled);
    const QImage& IconPicture(int32_t index);
    void ShowMessage(int32_t helpText);
    evCategory* SelectedEntry() const;
    bool AskEntryText(int32_t captionText, const QString& initialText, QString& text);
    std::unique_ptr<evCategory> AskNewChapter(const evCategory* sibling, int32_t prompt, int32_t suggestedTitle);
    void SwitchEntry(evCategory& entry);
    void RemoveEntry(evCategory& entry);
    std::string ChooseProjectFileName();
    bool SaveNewProject(const std::string& fileName);
    bool PrepareNewProject();

    std::unique_ptr<evCategory> m_tree;
    const evCategory* m_original = nullptr; // the project's own tree while it is edited
    std::unique_ptr<evProject> m_newProject;
    std::vector<evCategory*> m_rows;
    std::vector<int> m_rowDepths;
    std::vector<TLabel*> m_rowLabels;
    std::vector<TImage*> m_rowIcons;
    std::map<int32_t, QImage> m_iconPictures;
    std::string m_firstName;
    std::string m_secondName;
    std::string m_designFileName;
    double m_date = 0.0;
    int32_t m_selected = -1;
    int32_t m_firstVisible = 0;
    int m_wheel = 0; // wheel turns not yet a whole notch
    int32_t m_hint = -1;
    bool m_scrollingUp = false;
    bool m_scrollingDown = false;
    bool m_editMode = false;
    bool m_accepted = false;
};
