#include "screens/TFormExit.h"

#include "screens/DataIndexes.h"
#include "screens/SkinService.h"

namespace G = Geometry::Exit;

TFormExit::TFormExit() : SkinnedScreen(Kind::Popup)
{
    ImgBG = AddImage(G::ImgBG, TImage::Role::Background);
    AddSkin(ImgBG, Skin::PopupBackground);
    imgCnt = AddSkinImage(G::imgCnt, Skin::ExitQuestion);
    imgYes = AddSkinImage(G::imgYes, Skin::LeaveButton);
    imgNo = AddSkinImage(G::imgNo, Skin::StayButton);
    imgYesActive = AddHoverImage(G::imgYesActive, Skin::LeaveButtonActive);
    imgNoActive = AddHoverImage(G::imgNoActive, Skin::StayButtonActive);
    Image3 = AddImage(G::Image3, TImage::Role::Button);
    for (TImage* image : {ImgBG, imgYesActive, imgNoActive})
        connect(image, &TImage::mouseMoved, this, [this, image](int x, int y) { ImgBGMouseMove(image, x, y); });
    connect(imgYesActive, &TImage::clicked, this, [this] { imgYesActiveClick(); });
    connect(imgNoActive, &TImage::clicked, this, [this] { imgNoActiveClick(); });
    connect(Image3, &TImage::clicked, this, [this] { Image3Click(); });
    SetKeyHandlers([this] { imgYesActiveClick(); }, [this] { imgNoActiveClick(); });
}

bool TFormExit::Run()
{
    Prepare();
    ShowModal();
    EndRun();
    return m_leave;
}

void TFormExit::Prepare()
{
    BeginRun();
    m_leave = false;
    imgYesActive->hide();
    imgNoActive->hide();
}

void TFormExit::ImgBGMouseMove(const QObject* sender, int x, int y)
{
    HoverShow(x, y, imgYesActive, sender);
    HoverShow(x, y, imgNoActive, sender);
}

void TFormExit::imgYesActiveClick()
{
    m_leave = true;
    Close();
}

void TFormExit::imgNoActiveClick() { Close(); }

void TFormExit::Image3Click() { Close(); }
