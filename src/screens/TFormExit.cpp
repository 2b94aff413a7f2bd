#include "screens/TFormExit.h"

#include "screens/SkinService.h"

namespace G = Geometry::Exit;

TFormExit::TFormExit() : SkinnedScreen(Kind::Popup)
{
    ImgBG = AddImage(G::ImgBG, TImage::Role::Background);
    AddSkin(ImgBG, 30);
    imgCnt = AddSkinImage(G::imgCnt, 108);
    imgYes = AddSkinImage(G::imgYes, 34);
    imgNo = AddSkinImage(G::imgNo, 32);
    imgYesActive = AddHoverImage(G::imgYesActive, 33);
    imgNoActive = AddHoverImage(G::imgNoActive, 31);
    Image3 = AddImage(G::Image3, TImage::Role::Button);
    for (TImage* image : {ImgBG, imgYesActive, imgNoActive})
        connect(image, &TImage::mouseMoved, this, [this, image](int x, int y) { ImgBGMouseMove(image, x, y); });
    connect(imgYesActive, &TImage::clicked, this, [this] { imgYesActiveClick(); });
    connect(imgNoActive, &TImage::clicked, this, [this] { imgNoActiveClick(); });
    connect(Image3, &TImage::clicked, this, [this] { Image3Click(); });
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
