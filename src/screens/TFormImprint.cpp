#include "screens/TFormImprint.h"

#include "screens/DataIndexes.h"

namespace G = Geometry::Imprint;

TFormImprint::TFormImprint() : SkinnedScreen(Kind::FullScreen)
{
    ImgBG = AddSkinImage(G::ImgBG, Skin::Backdrop);
    ImgImprint = AddSkinImage(G::ImgImprint, Skin::ImprintText);
    ImgBtn = AddSkinImage(G::ImgBtn, Skin::ReportOkButton);
    ImgApply = AddImage(G::ImgApply, TImage::Role::Button);
    connect(ImgApply, &TImage::clicked, this, [this] { ImgApplyClick(); });
    SetKeyHandlers([this] { ImgApplyClick(); }, [this] { ImgApplyClick(); });
}

void TFormImprint::Run()
{
    Prepare();
    ShowModal();
    EndRun();
}

void TFormImprint::Prepare() { BeginRun(); }

void TFormImprint::ImgApplyClick() { Close(); }
