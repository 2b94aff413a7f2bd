#include "screens/TFormFinishError.h"

#include "screens/SkinService.h"

namespace G = Geometry::FinishError;

TFormFinishError::TFormFinishError() : SkinnedScreen(Kind::FullScreen)
{
    ImgBG = AddSkinImage(G::ImgBG, 1);
    ImgHeader = AddSkinImage(G::ImgHeader, 90);
    ImgReport = AddSkinImage(G::ImgReport, 87);
    ImgFrame = AddSkinImage(G::ImgFrame, 88);
    LabelText = AddLabel(G::LabelText, PopupTextStyle(kColorWhite, Qt::AlignLeft | Qt::AlignVCenter));
    ImgBtn = AddSkinImage(G::ImgBtn, 89);
    ImgApply = AddImage(G::ImgBtn, TImage::Role::Button);
    connect(ImgApply, &TImage::clicked, this, [this] { ImgApplyClick(); });
}

void TFormFinishError::Run(const QString& text)
{
    Prepare(text);
    ShowModal();
    EndRun();
}

void TFormFinishError::Prepare(const QString& text)
{
    BeginRun();
    LabelText->SetCaption(DoubleAmpersands(text));
}

void TFormFinishError::ImgApplyClick() { Close(); }
