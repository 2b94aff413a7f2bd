#include "screens/TFormExitAndSave.h"

#include "screens/DataIndexes.h"
#include "screens/SkinService.h"

namespace G = Geometry::ExitAndSave;

TFormExitAndSave::TFormExitAndSave() : SkinnedScreen(Kind::Popup)
{
    ImgBG = AddImage(G::ImgBG, TImage::Role::Background);
    AddSkin(ImgBG, Skin::PopupBackground);
    imgCnt = AddSkinImage(G::imgCnt, Skin::ExitAndSaveQuestion);
    imgBtnExitSave = AddSkinImage(G::imgBtnExitSave, Skin::SaveButton);
    imgBtnExitNoSave = AddSkinImage(G::imgBtnExitNoSave, Skin::LeaveButton);
    imgBtnCancel = AddSkinImage(G::imgBtnCancel, Skin::StayButton);
    imgBtnExitSave_Act = AddHoverImage(G::imgBtnExitSave_Act, Skin::SaveButtonActive);
    imgBtnExitNoSave_Act = AddHoverImage(G::imgBtnExitNoSave_Act, Skin::LeaveButtonActive);
    imgBtnCancel_Act = AddHoverImage(G::imgBtnCancel_Act, Skin::StayButtonActive);
    imgCancel1 = AddImage(G::imgCancel1, TImage::Role::Button);
    for (TImage* image : {ImgBG, imgBtnExitSave_Act, imgBtnExitNoSave_Act, imgBtnCancel_Act})
        connect(image, &TImage::mouseMoved, this, [this, image](int x, int y) { ImgBGMouseMove(image, x, y); });
    connect(imgBtnExitSave_Act, &TImage::clicked, this, [this] { imgBtnExitSave_ActClick(); });
    connect(imgBtnExitNoSave_Act, &TImage::clicked, this, [this] { imgBtnExitNoSave_ActClick(); });
    connect(imgBtnCancel_Act, &TImage::clicked, this, [this] { imgBtnCancel_ActClick(); });
    connect(imgCancel1, &TImage::clicked, this, [this] { imgCancel1Click(); });
    SetKeyHandlers([this] { imgBtnExitSave_ActClick(); }, [this] { imgBtnCancel_ActClick(); });
}

int32_t TFormExitAndSave::Run()
{
    Prepare();
    ShowModal();
    EndRun();
    return m_answer;
}

void TFormExitAndSave::Prepare()
{
    BeginRun();
    m_answer = AnswerStay;
    imgBtnExitSave_Act->hide();
    imgBtnExitNoSave_Act->hide();
    imgBtnCancel_Act->hide();
}

void TFormExitAndSave::ImgBGMouseMove(const QObject* sender, int x, int y)
{
    HoverShow(x, y, imgBtnExitSave_Act, sender);
    HoverShow(x, y, imgBtnExitNoSave_Act, sender);
    HoverShow(x, y, imgBtnCancel_Act, sender);
}

void TFormExitAndSave::imgBtnExitSave_ActClick()
{
    m_answer = AnswerSaveAndLeave;
    Close();
}

void TFormExitAndSave::imgBtnExitNoSave_ActClick()
{
    m_answer = AnswerLeave;
    Close();
}

void TFormExitAndSave::imgBtnCancel_ActClick()
{
    m_answer = AnswerStay;
    Close();
}

void TFormExitAndSave::imgCancel1Click()
{
    m_answer = AnswerStay;
    Close();
}
