#include "screens/TFormFinishError.h"

#include "screens/DataIndexes.h"
#include "screens/SkinService.h"

namespace G = Geometry::FinishError;

TFormFinishError::TFormFinishError() : SkinnedScreen(Kind::FullScreen)
{
    ImgBG = AddSkinImage(G::ImgBG, Skin::Backdrop);
    ImgHeader = AddSkinImage(G::ImgHeader, Skin::FinishHeader);
    ImgReport = AddSkinImage(G::ImgReport, Skin::FinishErrorReport);
    ImgFrame = AddSkinImage(G::ImgFrame, Skin::FinishErrorFrame);
    LabelText = AddLabel(G::LabelText, PopupTextStyle(kColorWhite, Qt::AlignLeft | Qt::AlignVCenter));
    ImgBtn = AddSkinImage(G::ImgBtn, Skin::ReportOkButton);
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
