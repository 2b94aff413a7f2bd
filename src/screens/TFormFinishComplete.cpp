#include "screens/TFormFinishComplete.h"

namespace G = Geometry::FinishComplete;

TFormFinishComplete::TFormFinishComplete() : SkinnedScreen(Kind::FullScreen)
{
    ImgBG = AddSkinImage(G::ImgBG, 1);
    ImgHeader = AddSkinImage(G::ImgHeader, 90);
    ImgReport = AddSkinImage(G::ImgReport, 86);
    ImgBtn = AddSkinImage(G::ImgBtn, 89);
    ImgApply = AddImage(G::ImgBtn, TImage::Role::Button);
    connect(ImgApply, &TImage::clicked, this, [this] { ImgApplyClick(); });
}

void TFormFinishComplete::Run()
{
    Prepare();
    ShowModal();
    EndRun();
}

void TFormFinishComplete::Prepare() { BeginRun(); }

void TFormFinishComplete::ImgApplyClick() { Close(); }
