#include "screens/TFormSave.h"

#include "screens/DataIndexes.h"
#include "screens/SkinService.h"

namespace G = Geometry::Save;

TFormSave::TFormSave() : SkinnedScreen(Kind::Popup)
{
    ImgBG = AddImage(G::ImgBG, TImage::Role::Background);
    AddSkin(ImgBG, Skin::PopupBackground);
    imgCnt = AddSkinImage(G::imgCnt, Skin::SaveQuestion);
    imgYes = AddSkinImage(G::imgYes, Skin::SaveButton);
    imgNo = AddSkinImage(G::imgNo, Skin::DontSaveButton);
    imgYesActive = AddHoverImage(G::imgYesActive, Skin::SaveButtonActive);
    imgNoActive = AddHoverImage(G::imgNoActive, Skin::DontSaveButtonActive);
    imgExit = AddImage(G::imgExit, TImage::Role::Button);
    for (TImage* image : {ImgBG, imgYesActive, imgNoActive})
        connect(image, &TImage::mouseMoved, this, [this, image](int x, int y) { ImgBGMouseMove(image, x, y); });
    connect(imgYesActive, &TImage::clicked, this, [this] { imgYesActiveClick(); });
    connect(imgNoActive, &TImage::clicked, this, [this] { imgNoActiveClick(); });
    connect(imgExit, &TImage::clicked, this, [this] { imgExitClick(); });
    SetKeyHandlers([this] { imgYesActiveClick(); }, [this] { imgExitClick(); });
}

bool TFormSave::Run()
{
    Prepare();
    ShowModal();
    EndRun();
    return m_answered;
}

void TFormSave::Prepare()
{
    BeginRun();
    m_save = false;
    m_answered = false;
    imgYesActive->hide();
    imgNoActive->hide();
}

void TFormSave::ImgBGMouseMove(const QObject* sender, int x, int y)
{
    HoverShow(x, y, imgYesActive, sender);
    HoverShow(x, y, imgNoActive, sender);
}

void TFormSave::imgYesActiveClick()
{
    m_save = true;
    m_answered = true;
    Close();
}

void TFormSave::imgNoActiveClick()
{
    m_answered = true;
    Close();
}

void TFormSave::imgExitClick() { Close(); }
