#include "screens/TFormAddEntry.h"

#include "screens/DataIndexes.h"

#include <QLineEdit>

namespace G = Geometry::AddEntry;

TFormAddEntry::TFormAddEntry() : SkinnedScreen(Kind::Popup)
{
    ImgBG = AddSkinImage(G::ImgBG, Skin::PopupBackground);
    imgEdit = AddSkinImage(G::imgEdit, Skin::AddEntryField);
    lblCaption = AddLabel(G::lblCaption, PopupTextStyle(kColorBlack));
    EditAdd = new QLineEdit(Panel());
    EditAdd->setGeometry(G::EditAdd.x, G::EditAdd.y, G::EditAdd.w, G::EditAdd.h);
    EditAdd->setFrame(false);
    QFont font("Arial");
    font.setPixelSize(16);
    EditAdd->setFont(font);
    EditAdd->setStyleSheet("QLineEdit { background: transparent; color: black; border: none; }");
    imgBtn = AddSkinImage(G::imgBtn, Skin::AddEntryButtons);
    ImgApply = AddImage(G::ImgApply, TImage::Role::Button);
    ImgCancel = AddImage(G::ImgCancel, TImage::Role::Button);
    imgBtnSmallCancel = AddImage(G::imgBtnSmallCancel, TImage::Role::Button);
    connect(ImgApply, &TImage::clicked, this, [this] { ImgApplyClick(); });
    connect(ImgCancel, &TImage::clicked, this, [this] { ImgCancelClick(); });
    connect(imgBtnSmallCancel, &TImage::clicked, this, [this] { imgBtnSmallCancelClick(); });
    SetKeyHandlers([this] { ImgApplyClick(); }, [this] { ImgCancelClick(); });
}

bool TFormAddEntry::Run(const QString& caption, const QString& initialText)
{
    Prepare(caption, initialText);
    ShowModal();
    EndRun();
    return m_applied;
}

void TFormAddEntry::Prepare(const QString& caption, const QString& initialText)
{
    BeginRun();
    m_text = initialText;
    EditAdd->setText(initialText);
    m_applied = false;
    lblCaption->SetCaption(caption);
    EditAdd->selectAll();
    EditAdd->setFocus();
}

void TFormAddEntry::ImgApplyClick()
{
    m_applied = true;
    m_text = EditAdd->text();
    Close();
}

void TFormAddEntry::ImgCancelClick()
{
    m_applied = false;
    Close();
}

void TFormAddEntry::imgBtnSmallCancelClick()
{
    m_applied = false;
    Close();
}
