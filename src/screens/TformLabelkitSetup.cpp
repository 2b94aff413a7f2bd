#include "screens/TformLabelkitSetup.h"

#include "model/ProjectModification.h"
#include "model/evCategory.h"
#include "model/evCategoryEntry.h"
#include "model/evPageLayout.h"
#include "model/evPicture.h"
#include "model/evProject.h"
#include "model/evUserPicture.h"
#include "model/evUserTextfield.h"
#include "platform/Canvas.h"
#include "platform/Log.h"
#include "platform/Text.h"
#include "presentation/DiscLabel.h"
#include "screens/DataIndexes.h"
#include "screens/FileDialogs.h"
#include "screens/ScreenSet.h"
#include "screens/SkinService.h"
#include "screens/TFormImageEdit.h"
#include "screens/TformLabelKitPrint.h"
#include "screens/TformMemoPopUp.h"
#include "screens/TokPopup.h"
#include "screens/TyesNoPopup.h"

#include <new>

namespace G = Geometry::LabelkitSetup;

TformLabelkitSetup::TformLabelkitSetup() : SkinnedScreen(Kind::FullScreen)
{
    imgBG = AddImage(G::imgBG, TImage::Role::Background);
    AddSkin(imgBG, Skin::LabelKitSetupBackground);
    Watch(imgBG, Help::LabelSetupInstruction);
    imgPreview = AddImage(G::imgPreview, TImage::Role::Background);
    Watch(imgPreview, Help::LabelSetupInstruction);
    imgBtnLoadUserPic =
        AddButton(G::imgBtnLoadUserPic, Help::HintLabelPicture, &TformLabelkitSetup::imgBtnLoadUserPicClick);
    imgBtnEdUserText = AddButton(G::imgBtnEdUserText, Help::HintLabelText, &TformLabelkitSetup::imgBtnEdUserTextClick);
    imgBtnClearUserPic =
        AddButton(G::imgBtnClearUserPic, Help::HintLabelRemovePicture, &TformLabelkitSetup::imgBtnClearUserPicClick);
    imgBtnClearUserPicInactive = AddButton(G::imgBtnClearUserPicInactive, Help::HintLabelRemovePicture,
                                           &TformLabelkitSetup::imgBtnClearUserPicClick);
    AddSkin(imgBtnClearUserPicInactive, Skin::RemoveLabelPictureGreyed);
    imgBtnPrint = AddButton(G::imgBtnPrint, Help::HintLabelPrint, &TformLabelkitSetup::imgBtnPrintClick);
    imgBtnCancel = AddButton(G::imgBtnCancel, Help::HintLabelBack, &TformLabelkitSetup::imgBtnCancelClick);
    labelHelp = AddLabel(G::labelHelp, HintLabelStyle("Arial"));
}

TformLabelkitSetup::~TformLabelkitSetup() = default;

TImage* TformLabelkitSetup::AddButton(const Geometry::ControlRect& rect, int32_t hint,
                                      void (TformLabelkitSetup::*click)())
{
    TImage* button = AddImage(rect, TImage::Role::Button);
    Watch(button, hint);
    connect(button, &TImage::clicked, this, [this, click] { Guarded(click); });
    return button;
}

void TformLabelkitSetup::Watch(TImage* control, int32_t hint)
{
    m_hints.emplace_back(control, hint);
    connect(control, &TImage::mouseMoved, this, [this, control] { ControlMouseMove(control); });
}

// A failure in a handler (a picture that cannot be stored, a label that cannot be drawn) is logged; it must not
// reach the event loop.
void TformLabelkitSetup::Guarded(void (TformLabelkitSetup::*handler)())
{
    try {
        (this->*handler)();
    } catch (const EVelloraError& e) {
        ktLogs::LogLine(std::string("Label kit: ") + e.what());
    } catch (const std::bad_alloc&) {
        ktLogs::LogLine("Label kit: out of memory");
    }
}

// ------------------------------------------------------------------------------------------------ the run

void TformLabelkitSetup::Run(evProject& project)
{
    Prepare(project);
    ShowModal();
    Finish();
}

// A category without a page layout of the design gets an empty page layout of its own for the run: it has no
// slots, so the buttons find nothing to fill.
void TformLabelkitSetup::Prepare(evProject& project)
{
    StopSpeech();
    BeginRun();
    m_project = &project;
    m_hint = -1;
    labelHelp->SetCaption(QString());
    m_layout = DiscLabelPageLayout(project);
    if (!m_layout) {
        try {
            m_ownLayout = std::make_unique<evPageLayout>(nullptr, "LabelKit", "Keiner", "Keine", 0);
            m_layout = m_ownLayout.get();
        } catch (const EVelloraError& e) {
            ktLogs::LogLine(std::string("Label kit without a page layout: ") + e.what());
        }
    }
    DrawPreview();
    SetClearButtonState();
}

void TformLabelkitSetup::Finish()
{
    EndRun();
    imgPreview->ClearPicture();
    m_label = Bitmap();
    m_layout = nullptr;
    m_ownLayout.reset();
    m_project = nullptr;
}

evCategory* TformLabelkitSetup::GetCategory() const { return m_project ? m_project->GetDiscLabelCategory() : nullptr; }

// The label as it is printed, drawn over the whole preview.
void TformLabelkitSetup::DrawPreview()
{
    if (!m_project)
        return;
    m_label = RenderDiscLabel(*m_project);
    Bitmap preview(G::imgPreview.w, G::imgPreview.h);
    preview.GetCanvas().StretchDraw(Rect(0, 0, G::imgPreview.w, G::imgPreview.h), m_label);
    imgPreview->SetPicture(preview.ToQImage());
}

// The greyed look covers the clear button while the label holds no picture of the user's.
void TformLabelkitSetup::SetClearButtonState()
{
    const evUserPicture* slot = m_layout ? FreePictureSlot(*m_layout) : nullptr;
    const evCategory* category = GetCategory();
    const bool held = slot && category && category->FindUserEntry(slot->GetID());
    imgBtnClearUserPicInactive->setVisible(!held);
    imgBtnClearUserPicInactive->setEnabled(!held);
}

// ------------------------------------------------------------------------------------------------ picture

void TformLabelkitSetup::imgBtnLoadUserPicClick()
{
    const evUserPicture* slot = m_layout ? FreePictureSlot(*m_layout) : nullptr;
    TFormImageEdit* imageEdit = Screens().formImageEdit.get();
    if (!slot || !imageEdit || !GetCategory())
        return;
    FileDialogRequest request;
    request.filter = HelpText(Help::PictureFilter);
    const std::optional<std::string> file = Dialogs().OpenFile(request);
    if (!file)
        return;
    const bool fixed = slot->GetFrameID() == 0 || slot->GetAlternateFrameID() == 0;
    Bitmap work;
    if (imageEdit->Run(*file, slot->GetWidth(), slot->GetHeight(), fixed, work)) {
        StorePicture(*slot, work);
        MarkModified();
    }
    SetClearButtonState();
    DrawPreview();
}

void TformLabelkitSetup::StorePicture(const evUserPicture& slot, const Bitmap& picture)
{
    evCategory* category = GetCategory();
    category->MarkDirty();
    evCategoryEntry* entry = category->FindUserEntry(slot.GetID());
    if (auto* stored = entry ? dynamic_cast<evPicture*>(entry->GetElement()) : nullptr) {
        stored->SetGraphic(picture);
        return;
    }
    auto made = std::make_unique<evPicture>(slot.GetName(), picture);
    // A damaged project may keep something else under the slot: the picture takes its place.
    if (entry)
        entry->SetElement(std::move(made));
    else
        category->AddUserElement(slot.GetID(), std::move(made));
}

void TformLabelkitSetup::imgBtnClearUserPicClick()
{
    evCategory* category = GetCategory();
    const evUserPicture* slot = m_layout ? FreePictureSlot(*m_layout) : nullptr;
    TyesNoPopup* question = Screens().yesNoPopup.get();
    if (!category || !slot)
        return;
    category->MarkDirty();
    if (!category->FindUserEntry(slot->GetID()) || !question)
        return;
    if (!question->Run(HelpText(Help::ConfirmRemoveLabelPicture)))
        return;
    evObjectCollection& elements = category->GetUserElements();
    for (int32_t i = 0; i < elements.Count(); ++i) {
        const auto* entry = elements.GetItemAs<evCategoryEntry>(i);
        if (entry && entry->GetSlotID() == slot->GetID()) {
            elements.Delete(i);
            break;
        }
    }
    DrawPreview();
    SetClearButtonState();
    MarkModified();
}

// ------------------------------------------------------------------------------------------------ text

void TformLabelkitSetup::imgBtnEdUserTextClick()
{
    const evUserTextfield* slot = m_layout ? FreeTextSlot(*m_layout) : nullptr;
    if (!slot) {
        ShowMessage(QString::fromLatin1(kNoTextField));
        return;
    }
    TformMemoPopUp* memo = Screens().formMemoPopUp.get();
    evUserTextfield* text = GetCategory() ? CategoryText(*slot) : nullptr;
    if (!memo || !text)
        return;
    if (!memo->Run(HelpText(Help::HintLabelText), ToDisplay(text->GetText())))
        return;
    GetCategory()->MarkDirty();
    text->SetText(FromDisplay(memo->GetText()));
    MarkModified();
    DrawPreview();
}

evUserTextfield* TformLabelkitSetup::CategoryText(const evUserTextfield& slot)
{
    evCategory* category = GetCategory();
    evCategoryEntry* entry = category->FindUserEntry(slot.GetID());
    if (!entry) {
        category->AddUserElement(slot.GetID(), slot.Clone());
        return dynamic_cast<evUserTextfield*>(category->FindUserElement(slot.GetID()));
    }
    if (auto* own = dynamic_cast<evUserTextfield*>(entry->GetElement()))
        return own;
    // A damaged project may keep something else under the slot: a fresh copy takes its place.
    entry->SetElement(slot.Clone());
    return dynamic_cast<evUserTextfield*>(entry->GetElement());
}

// ------------------------------------------------------------------------------------------------ the rest

void TformLabelkitSetup::imgBtnPrintClick()
{
    TformLabelKitPrint* print = Screens().formLabelKitPrint.get();
    if (!print)
        return;
    if (print->Run(m_label))
        Close();
}

void TformLabelkitSetup::imgBtnCancelClick() { Close(); }

void TformLabelkitSetup::ShowMessage(const QString& text)
{
    if (TokPopup* ok = Screens().okPopup.get())
        ok->Run(text);
}

void TformLabelkitSetup::ControlMouseMove(const QObject* control)
{
    int32_t hint = Help::LabelSetupInstruction;
    for (const auto& [watched, index] : m_hints) {
        if (watched == control)
            hint = index;
    }
    ShowHelpHint(labelHelp, m_hint, hint);
}
