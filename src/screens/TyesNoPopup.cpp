#include "screens/TyesNoPopup.h"

#include "screens/DataIndexes.h"

namespace G = Geometry::YesNoPopup;

TyesNoPopup::TyesNoPopup() : SkinnedScreen(Kind::Popup)
{
    ImgBG = AddSkinImage(G::ImgBG, Skin::PopupBackground);
    imgCnt = AddSkinImage(G::imgCnt, Skin::MessageFrame);
    LabelMessage = AddLabel(G::LabelMessage, PopupTextStyle(kColorWhite));
    ImgBtn = AddSkinImage(G::ImgBtn, Skin::YesNoButtons);
    ImgYes = AddImage(G::ImgYes, TImage::Role::Button);
    ImgNo = AddImage(G::ImgNo, TImage::Role::Button);
    imgBtnSmallCancel = AddImage(G::imgBtnSmallCancel, TImage::Role::Button);
    connect(ImgYes, &TImage::clicked, this, [this] { ImgYesClick(); });
    connect(ImgNo, &TImage::clicked, this, [this] { ImgNoClick(); });
    connect(imgBtnSmallCancel, &TImage::clicked, this, [this] { imgBtnSmallCancelClick(); });
    SetKeyHandlers([this] { ImgYesClick(); }, [this] { ImgNoClick(); });
}

bool TyesNoPopup::Run(const QString& text)
{
    Prepare(text);
    ShowModal();
    EndRun();
    return m_result;
}

void TyesNoPopup::Prepare(const QString& text)
{
    BeginRun();
    LabelMessage->SetCaption(text);
    m_result = false;
    m_cancelled = false;
}

void TyesNoPopup::ImgYesClick()
{
    m_result = true;
    Close();
}

void TyesNoPopup::ImgNoClick() { Close(); }

void TyesNoPopup::imgBtnSmallCancelClick()
{
    m_cancelled = true;
    Close();
}
