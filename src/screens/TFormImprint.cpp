#include "screens/TFormImprint.h"

namespace G = Geometry::Imprint;

TFormImprint::TFormImprint() : SkinnedScreen(Kind::FullScreen)
{
    ImgBG = AddSkinImage(G::ImgBG, 1);
    ImgImprint = AddSkinImage(G::ImgImprint, 91);
    ImgBtn = AddSkinImage(G::ImgBtn, 89);
    ImgApply = AddImage(G::ImgApply, TImage::Role::Button);
    connect(ImgApply, &TImage::clicked, this, [this] { ImgApplyClick(); });
}

void TFormImprint::Run()
{
    Prepare();
    ShowModal();
    EndRun();
}

void TFormImprint::Prepare() { BeginRun(); }

void TFormImprint::ImgApplyClick() { Close(); }
