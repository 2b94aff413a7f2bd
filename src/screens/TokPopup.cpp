#include "screens/TokPopup.h"

#include "screens/DataIndexes.h"

namespace G = Geometry::OkPopup;

TokPopup::TokPopup() : SkinnedScreen(Kind::Popup)
{
    ImgBG = AddSkinImage(G::ImgBG, Skin::PopupBackground);
    imgCnt = AddSkinImage(G::imgCnt, Skin::MessageFrame);
    LabelMessage = AddLabel(G::LabelMessage, PopupTextStyle(kColorWhite));
    imgBtn = AddSkinImage(G::imgBtn, Skin::OkButton);
    ImgOK = AddImage(G::ImgOK, TImage::Role::Button);
    imgX = AddImage(G::imgX, TImage::Role::Button);
    connect(ImgOK, &TImage::clicked, this, [this] { ImgOKClick(); });
    connect(imgX, &TImage::clicked, this, [this] { imgXClick(); });
    SetKeyHandlers([this] { ImgOKClick(); }, [this] { imgXClick(); });
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
