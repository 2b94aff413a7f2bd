#include "screens/TokPopup.h"

namespace G = Geometry::OkPopup;

TokPopup::TokPopup() : SkinnedScreen(Kind::Popup)
{
    ImgBG = AddSkinImage(G::ImgBG, 30);
    imgCnt = AddSkinImage(G::imgCnt, 36);
    LabelMessage = AddLabel(G::LabelMessage, PopupTextStyle(kColorWhite));
    imgBtn = AddSkinImage(G::imgBtn, 35);
    ImgOK = AddImage(G::ImgOK, TImage::Role::Button);
    imgX = AddImage(G::imgX, TImage::Role::Button);
    connect(ImgOK, &TImage::clicked, this, [this] { ImgOKClick(); });
    connect(imgX, &TImage::clicked, this, [this] { imgXClick(); });
}

void TokPopup::Run(const QString& text)
{
    Prepare(text);
    ShowModal();
    EndRun();
}

void TokPopup::Prepare(const QString& text)
{
    BeginRun();
    LabelMessage->SetCaption(text);
}

void TokPopup::ImgOKClick() { Close(); }

void TokPopup::imgXClick() { Close(); }
