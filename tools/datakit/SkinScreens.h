#pragma once
// The scenes of all screens and pop-ups: their fixed art and their controls at the places of the geometry table.
// Control names are the screens' own control names; where one control shows several pictures (speaker states,
// stop button, switches) each state is a separate control over the same rectangle, hidden unless asked for.

#include "SkinScene.h"

class SkinScreens {
public:
    enum class Editor { Layout, Picture, Text, Gallery };
    enum class PopupKind { Plain, Ok, YesNo, AddEntry, Save, Exit, ExitAndSave };

    static SkinScene Backdrop();
    static SkinScene MainMenu();
    static SkinScene ProjectMenu(bool alternative);
    static SkinScene Timeline();
    static SkinScene EditorScene(Editor editor);
    static SkinScene GalleryStrip();
    static SkinScene CdromStrip();
    static SkinScene ImageEdit();
    static SkinScene Music();
    static SkinScene Finish();
    static SkinScene FinishComplete();
    static SkinScene FinishError();
    static SkinScene NewProject1(bool personalData);
    static SkinScene NewProject2();
    static SkinScene NewProject3(bool editMode);
    static SkinScene Imprint();
    static SkinScene Popup(PopupKind kind);
    static SkinScene MemoPopup();
    static SkinScene FindingsPopup();
    static SkinScene LabelkitSetup();
    static SkinScene LabelKitPrint();
    static SkinScene Photographer();
    static SkinScene PreviewClose();
    static SkinScene ChapterIcons();
    static SkinScene MissingThumbnail();
    static SkinScene Placeholder();
};
