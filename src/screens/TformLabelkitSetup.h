#pragma once
// The set-up screen of the label kit: shows the project's disc label and lets the user put one picture of their
// own (through the image edit screen) and one text on it, or take the picture off again; from here the print
// screen prints it. The label is the page of the project's disc-label category; what the user adds goes straight
// into that category and marks the project modified.

#include "platform/Bitmap.h"
#include "screens/SkinnedScreen.h"

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

class evCategory;
class evPageLayout;
class evProject;
class evUserPicture;
class evUserTextfield;

class TformLabelkitSetup : public SkinnedScreen {
    Q_OBJECT

public:
    // The one literal message of the label kit: a label page layout without a free text field.
    static constexpr const char* kNoTextField = "This label has no free text field.";

    TformLabelkitSetup();
    ~TformLabelkitSetup() override;

    // Shows the screen until the user cancels or the print screen goes back to the project menu.
    void Run(evProject& project);
    // Everything before the screen is shown: pictures, the label page layout, the preview, the clear button.
    void Prepare(evProject& project);
    // Releases the pictures, the label bitmap and an in-memory label page layout.
    void Finish();

    void imgBtnLoadUserPicClick();
    void imgBtnEdUserTextClick();
    void imgBtnClearUserPicClick();
    void imgBtnPrintClick();
    void imgBtnCancelClick();
    // A mouse move reported by the control.
    void ControlMouseMove(const QObject* control);

    void DrawPreview();
    void SetClearButtonState();

    // The page layout the slots are taken from: the category's, or the in-memory "LabelKit" page layout.
    evPageLayout* GetLabelPageLayout() const { return m_layout; }
    bool HasOwnLayout() const { return m_ownLayout != nullptr; }
    evCategory* GetCategory() const;
    const Bitmap& GetLabel() const { return m_label; }

    TImage* imgBG;
    TImage* imgPreview;
    TImage* imgBtnLoadUserPic;
    TImage* imgBtnEdUserText;
    TImage* imgBtnClearUserPic;
    TImage* imgBtnClearUserPicInactive;
    TImage* imgBtnPrint;
    TImage* imgBtnCancel;
    TLabel* labelHelp;

private:
    TImage* AddButton(const Geometry::ControlRect& rect, int32_t hint, void (TformLabelkitSetup::*click)());
    void Watch(TImage* control, int32_t hint);
    void Guarded(void (TformLabelkitSetup::*handler)());
    void StorePicture(const evUserPicture& slot, const Bitmap& picture);
    // The category's copy of the text slot; a copy of the slot's field is added when there is none.
    evUserTextfield* CategoryText(const evUserTextfield& slot);
    void ShowMessage(const QString& text);

    evProject* m_project = nullptr;
    evPageLayout* m_layout = nullptr;
    std::unique_ptr<evPageLayout> m_ownLayout;
    Bitmap m_label;
    int32_t m_hint = -1;
    std::vector<std::pair<const QObject*, int32_t>> m_hints;
};
