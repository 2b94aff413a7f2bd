#include "screens/TformProjectEditPicture.h"

#include "model/ProjectModification.h"
#include "model/evActionElement.h"
#include "model/evCategory.h"
#include "model/evObjectCollection.h"
#include "model/evPageLayout.h"
#include "model/evPageLayoutEntry.h"
#include "model/evPicture.h"
#include "model/evUserPicture.h"
#include "platform/Errors.h"
#include "platform/Log.h"
#include "platform/MessageHook.h"
#include "screens/DataIndexes.h"
#include "screens/FileDialogs.h"
#include "screens/ScreenSet.h"
#include "screens/SkinService.h"
#include "screens/TFormGallery.h"
#include "screens/TFormImageEdit.h"
#include "screens/TframeTimeline.h"

#include <QApplication>

namespace G = Geometry::EditPicture;

namespace {

constexpr int32_t kEnlargeOnHover = 10;
constexpr int32_t kFilmStrip = 15;
constexpr int32_t kSlideShow = 16;

TPageEditorScreen::Look PictureLook()
{
    TPageEditorScreen::Look look;
    look.ownTab = TPageEditorScreen::ResultPictures;
    look.ownTabHint = Help::HintPictureTab;
    look.topPrjMenu = Skin::PictureTopProjectMenuActive;
    look.topSave = Skin::PictureTopSaveActive;
    look.topExit = Skin::PictureTopExitActive;
    look.fullscreen = Skin::PictureFullscreenActive;
    look.fullscreenHint = Help::HintPictureFullScreen;
    look.speakerOff = Skin::PictureSpeakerOff;
    look.speakerOffOver = Skin::PictureSpeakerOffActive;
    look.speakerOnOver = Skin::PictureSpeakerOnActive;
    look.speakerNoSound = Skin::PictureSpeakerNoSound;
    look.speechClip = 1;
    return look;
}

bool CollectsPhotographs(const evActionElement* action)
{
    return action && (action->GetActionType() == kFilmStrip || action->GetActionType() == kSlideShow);
}

bool NeedsNoTexts(int32_t kind)
{
    return kind == pkPictureOnly || kind == pkPictureOnly2 || kind == pkAnimation || kind == pkPictureOther;
}

} // namespace

TformProjectEditPicture::TformProjectEditPicture() : TPageEditorScreen(PictureLook())
{
    imgBg1 = AddBackground(G::imgBg1, Skin::PictureBackgroundLeft);
    imgBg2 = AddBackground(G::imgBg2, Skin::PictureBackgroundTopRight);
    imgBg3 = AddBackground(G::imgBg3, Skin::PictureBackgroundBottomRight);
    imgBg4 = AddBackground(G::imgBg4, Skin::PictureBackgroundRight);
    imgAddPicHdd = AddButton(G::imgAddPicHdd, Help::HintAddFromFile);
    imgAddPicScan = AddButton(G::imgAddPicScan, Help::HintAddFromScanner);
    imgNoScanner = AddImage(G::imgNoScanner, TImage::Role::Background);
    AddSkin(imgNoScanner, Skin::PictureNoScanner);
    ReportMouse(imgNoScanner);
    AddHint(imgNoScanner, Help::HintNoScanner);
    OpenScanner();
    imgNoScanner->setVisible(!HasScanner());
    ImgBtnGallery = AddButton(G::ImgBtnGallery, Help::HintGallery);
    AddSkin(ImgBtnGallery, Skin::GalleryButton);
    ImgGallery = AddSkinImage(G::ImgGallery, Skin::GalleryCaption);
    imgPreview = AddImage(G::imgPreview, TImage::Role::Button);
    ReportMouse(imgPreview);
    connect(imgAddPicHdd, &TImage::clicked, this, [this] { imgAddPicHddClick(); });
    connect(imgAddPicScan, &TImage::clicked, this, [this] { imgAddPicScanClick(); });
    connect(ImgBtnGallery, &TImage::clicked, this, [this] { ImgBtnGalleryClick(); });
    connect(imgPreview, &TImage::mouseUp, this, [this](int x, int y) { imgPreviewMouseUp(x, y); });
    connect(imgFullscreen, &TImage::clicked, this, [this] { imgFullscreenClick(); });
}

TformProjectEditPicture::~TformProjectEditPicture() { SetScanCursor(false); }

// The program announces itself to the scanner as English from the USA. Looking for the driver reads only the
// scanner configuration; no device is searched for at start-up.
void TformProjectEditPicture::OpenScanner()
{
    TwainAcquire1 = std::make_unique<TTwainAcquire>();
    TwainAcquire1->SetCountry(TTwainAcquire::TCountry::USA);
    TwainAcquire1->SetLanguage(TTwainAcquire::TLanguage::English);
    TwainAcquire1->SetOnScanReady([this](TTwainAcquire&) { ScanReady(); });
    if (!TwainAcquire1->TwainDriverFound())
        return;
    try {
        TwainAcquire1->Initialize();
        m_hasScanner = true;
    } catch (const std::exception& error) {
        ktLogs::LogLine(std::string("Scanner not opened: ") + error.what());
    }
}

TImage* TformProjectEditPicture::AddButton(const Geometry::ControlRect& rect, int32_t hint)
{
    TImage* button = AddImage(rect, TImage::Role::Button);
    ReportMouse(button);
    AddHint(button, hint);
    return button;
}

std::vector<std::string> TformProjectEditPicture::ChoosePictureFiles(bool several)
{
    FileDialogRequest request;
    request.filter = HelpText(Help::PictureFilter);
    request.initialFolder = RememberedFolder(DialogPurpose::Pictures);
    std::vector<std::string> chosen;
    if (several) {
        chosen = Dialogs().OpenFiles(request);
    } else if (std::optional<std::string> one = Dialogs().OpenFile(request)) {
        chosen.push_back(std::move(*one));
    }
    if (!chosen.empty())
        RememberFolderOf(DialogPurpose::Pictures, chosen.front());
    return chosen;
}

void TformProjectEditPicture::PrepareEditor() { ClearSelection(); }

void TformProjectEditPicture::ClearSelection()
{
    m_slot = nullptr;
    m_sizeElement = nullptr;
    m_entry = nullptr;
    m_actionElement = nullptr;
    m_frame.reset();
}

evPageLayout* TformProjectEditPicture::CurrentLayout() const
{
    const evCategory* page = CurrentPage();
    return page && page->GetPageLayoutID() != 0 ? page->GetPageLayout() : nullptr;
}

void TformProjectEditPicture::ShowThePage()
{
    ClearSelection();
    evCategory* page = CurrentPage();
    if (!page)
        return;
    SetTabPossible(ResultLayout, page->GetKind() == 3);
    evPageLayout* layout = CurrentLayout();
    if (!layout || layout->GetKind() == pkTextOnly) {
        m_result = layout ? ResultTexts : ResultLayout;
        if (isVisible())
            CloseForm();
        return;
    }
    SetTabPossible(ResultTexts, !NeedsNoTexts(layout->GetKind()));
    ChooseSlot(true);
    ShowGalleryButton();
}

void TformProjectEditPicture::ShowGalleryButton()
{
    const bool offered = CollectsPhotographs(m_actionElement);
    for (TImage* image : {ImgBtnGallery, ImgGallery}) {
        image->setVisible(offered);
        image->setEnabled(offered);
    }
}

// ------------------------------------------------------------------------------------------- slot choice

bool TformProjectEditPicture::IsFilled(const evUserPicture* slot) const
{
    const evCategory* page = CurrentPage();
    return slot && page && page->FindUserElement(slot->GetID()) != nullptr;
}

TformProjectEditPicture::SlotChoice TformProjectEditPicture::PlacedSlot(evPageLayout& layout, int32_t entryId)
{
    SlotChoice choice;
    if (entryId == 0)
        return choice;
    choice.entry = dynamic_cast<evPageLayoutEntry*>(layout.FindByID(entryId));
    if (choice.entry)
        choice.slot = dynamic_cast<evUserPicture*>(layout.ResolveEntryElement(choice.entry->GetElementID()));
    choice.sizeElement = choice.slot;
    return choice;
}

void TformProjectEditPicture::ChooseSlot(bool firstVisit)
{
    m_actionElement = nullptr;
    evPageLayout* layout = CurrentLayout();
    if (!layout)
        return;
    SlotChoice fallback;
    if (ChooseFromEntries(*layout, fallback) || ChooseFromActions(*layout, fallback))
        return;
    if (!firstVisit && m_slot) {
        // The fallback's action element only goes with its own slot: with another one, photographs of the
        // current slot would be filed under a slide show.
        m_actionElement = fallback.slot == m_slot ? fallback.action : nullptr;
        SelectSlot(m_slot, m_sizeElement, m_entry);
        return;
    }
    Select(fallback);
}

bool TformProjectEditPicture::ChooseFromEntries(evPageLayout& layout, SlotChoice& fallback)
{
    const evObjectCollection& entries = layout.GetEntries();
    for (int32_t i = 0; i < entries.Count(); ++i) {
        auto* entry = entries.GetItemAs<evPageLayoutEntry>(i);
        auto* slot = entry ? dynamic_cast<evUserPicture*>(layout.ResolveEntryElement(entry->GetElementID())) : nullptr;
        if (!slot || slot->GetFixed() != 0)
            continue;
        const SlotChoice choice{slot, slot, entry, nullptr};
        if (!IsFilled(slot)) {
            Select(choice);
            return true;
        }
        fallback = choice;
    }
    return false;
}

bool TformProjectEditPicture::ChooseFromActions(evPageLayout& layout, SlotChoice& fallback)
{
    const evObjectCollection& actions = layout.GetActionElements();
    for (int32_t i = 0; i < actions.Count(); ++i) {
        auto* action = actions.GetItemAs<evActionElement>(i);
        const int32_t type = action ? action->GetActionType() : -1;
        if (type != kSlideShow && type != kEnlargeOnHover && type != kFilmStrip)
            continue;
        SlotChoice choice = PlacedSlot(layout, action->GetFirstSlot());
        if (!choice.slot)
            continue;
        choice.action = action;
        // A second slot that names no picture slot leaves the photograph the size of the first.
        if (type != kSlideShow) {
            if (evUserPicture* linked = PlacedSlot(layout, action->GetSecondSlot()).slot)
                choice.sizeElement = linked;
        }
        if (!IsFilled(choice.slot)) {
            Select(choice);
            return true;
        }
        if (!fallback.slot)
            fallback = choice;
    }
    return false;
}

void TformProjectEditPicture::Select(const SlotChoice& choice)
{
    m_actionElement = choice.action;
    SelectSlot(choice.slot, choice.sizeElement, choice.entry);
}

void TformProjectEditPicture::SelectSlot(evUserPicture* slot, evUserPicture* sizeElement, evPageLayoutEntry* entry)
{
    m_slot = slot;
    m_sizeElement = sizeElement;
    m_entry = entry;
    if (m_slot)
        DrawPreview();
}

// ----------------------------------------------------------------------------------------------- preview

std::optional<TRect> TformProjectEditPicture::FrameRect() const
{
    const evCategory* page = CurrentPage();
    if (!page || !m_slot || !m_entry)
        return std::nullopt;
    if (m_actionElement && m_actionElement->GetActionType() == kFilmStrip)
        return m_actionElement->GetRect();
    const int32_t key =
        m_actionElement && m_actionElement->GetActionType() == kSlideShow ? m_actionElement->GetID() : m_slot->GetID();
    const evObject* found = m_actionElement && m_actionElement->GetActionType() == kSlideShow
                                ? page->FindLastUserElement(key)
                                : page->FindUserElement(key);
    const TRect slotRect = Rect(m_entry->GetLeft(), m_entry->GetTop(), m_entry->GetLeft() + m_slot->GetWidth(),
                                m_entry->GetTop() + m_slot->GetHeight());
    return m_slot->GetPictureRect(dynamic_cast<const evPicture*>(found), slotRect);
}

void TformProjectEditPicture::DrawPreview()
{
    evCategory* page = CurrentPage();
    if (!page)
        return;
    // The page is rendered again only when a change made its preview file stale.
    page->Render(nullptr, true);
    try {
        m_frame = FrameRect();
    } catch (const EVelloraError& e) {
        m_frame.reset();
        ktLogs::LogLine(std::string("Selection frame not found: ") + e.what());
    }
    ShowPageWithFrame(imgPreview, *page, m_frame ? &*m_frame : nullptr);
}

// A click selects the slot under the mouse; a fixed slot only through the enlarge-on-hover element that links it
// to the slot whose size it shows. A miss, or a failure on the way, keeps the selection.
void TformProjectEditPicture::imgPreviewMouseUp(int x, int y)
{
    evPageLayout* layout = CurrentLayout();
    if (!CurrentPage() || !layout || imgPreview->width() <= 0 || imgPreview->height() <= 0)
        return;
    try {
        const int32_t index = layout->HitTest(static_cast<double>(x) / imgPreview->width(),
                                              static_cast<double>(y) / imgPreview->height());
        auto* entry = index >= 0 ? layout->GetEntries().GetItemAs<evPageLayoutEntry>(index) : nullptr;
        auto* slot = entry ? dynamic_cast<evUserPicture*>(layout->ResolveEntryElement(entry->GetElementID())) : nullptr;
        if (!slot)
            return;
        if (slot->GetFixed() == 0) {
            SelectSlot(slot, slot, entry);
            return;
        }
        const evActionElement* action = layout->FindActionElement(entry->GetID());
        if (!action || action->GetActionType() != kEnlargeOnHover || action->GetFirstSlot() != entry->GetID())
            return;
        if (evUserPicture* linked = PlacedSlot(*layout, action->GetSecondSlot()).slot)
            SelectSlot(slot, linked, entry);
    } catch (const EVelloraError& e) {
        ktLogs::LogLine(std::string("Click on the page ignored: ") + e.what());
    }
}

// ------------------------------------------------------------------------------------------ adding photos

bool TformProjectEditPicture::IsFixedOrientation() const
{
    return !m_slot || m_slot->GetFrameID() == 0 || m_slot->GetAlternateFrameID() == 0;
}

void TformProjectEditPicture::imgAddPicHddClick()
{
    TFormImageEdit* imageEdit = Screens().formImageEdit.get();
    if (!m_slot || !m_sizeElement || !imageEdit)
        return;
    const std::vector<std::string> files = ChoosePictureFiles(CollectsPhotographs(m_actionElement));
    if (files.empty())
        return;
    const bool fixed = IsFixedOrientation();
    Bitmap work;
    for (const std::string& file : files) {
        if (imageEdit->Run(file, m_sizeElement->GetWidth(), m_sizeElement->GetHeight(), fixed, work))
            Store(work);
    }
    AfterAddition();
}

void TformProjectEditPicture::Store(const Bitmap& work)
{
    evCategory* page = CurrentPage();
    if (!page || !m_slot)
        return;
    if (CollectsPhotographs(m_actionElement)) {
        page->AddUserElement(m_actionElement->GetID(), std::make_unique<evPicture>(m_slot->GetName(), work));
        return;
    }
    if (auto* photograph = dynamic_cast<evPicture*>(page->FindUserElement(m_slot->GetID()))) {
        photograph->SetGraphic(work);
        page->MarkDirty();
        return;
    }
    page->AddUserElement(m_slot->GetID(), std::make_unique<evPicture>(m_slot->GetName(), work));
}

void TformProjectEditPicture::AfterAddition()
{
    MarkModified();
    if (TframeTimeline* timeline = GetTimeline()) {
        timeline->RefreshCurrentPage();
        timeline->RefreshMarkers();
    }
    ChooseSlot(false);
    ShowGalleryButton();
}

// Without a driver the cover lies over this button and takes its clicks.
void TformProjectEditPicture::imgAddPicScanClick()
{
    if (!m_slot || !HasScanner())
        return;
    m_scanMode = ScanOfEditor;
    StartScan(*this, m_scanBitmap);
}

void TformProjectEditPicture::StartScan(QWidget& form, Bitmap& target)
{
    if (!HasScanner())
        return;
    try {
        form.setEnabled(false);
        TwainAcquire1->SelectSource();
        form.setEnabled(true);
        SetScanCursor(true);
        target = Bitmap();
        TwainAcquire1->Acquire(&target);
    } catch (const std::exception& error) {
        form.setEnabled(true);
        SetScanCursor(false);
        m_scanMode = ScanOfEditor;
        ShowApplicationException(error);
    }
}

void TformProjectEditPicture::SetScanCursor(bool waiting)
{
    if (waiting == m_scanCursor)
        return;
    m_scanCursor = waiting;
    if (waiting)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

// The scan bitmap is emptied after use, so a cancelled scan later finds nothing of an earlier one.
void TformProjectEditPicture::ScanReady()
{
    SetScanCursor(false);
    const uint8_t mode = m_scanMode;
    m_scanMode = ScanOfEditor;
    if (mode == ScanOfGallery) {
        if (TFormGallery* gallery = Screens().formGallery.get())
            gallery->ScanReady();
        return;
    }
    TFormImageEdit* imageEdit = Screens().formImageEdit.get();
    const Bitmap scan = std::move(m_scanBitmap);
    m_scanBitmap = Bitmap();
    if (scan.IsEmpty() || !m_slot || !m_sizeElement || !imageEdit)
        return;
    Bitmap work;
    if (imageEdit->Run(scan, m_sizeElement->GetWidth(), m_sizeElement->GetHeight(), IsFixedOrientation(), work)) {
        Store(work);
        AfterAddition();
    }
}

// ------------------------------------------------------------------------------------ gallery, full screen

void TformProjectEditPicture::ImgBtnGalleryClick()
{
    TFormGallery* gallery = Screens().formGallery.get();
    evCategory* page = CurrentPage();
    if (!CollectsPhotographs(m_actionElement) || !m_sizeElement || !gallery || !page)
        return;
    StopSpeech();
    const int32_t answer = gallery->Run(*page, m_actionElement->GetID(), IsFixedOrientation(),
                                        m_sizeElement->GetWidth(), m_sizeElement->GetHeight());
    if (answer == ResultLeave || answer == ResultProjectMenu) {
        SetResultAndClose(answer);
        return;
    }
    page->MarkDirty();
    if (TframeTimeline* timeline = GetTimeline()) {
        timeline->RefreshCurrentPage();
        timeline->RefreshMarkers();
    }
    ChooseSlot(false);
    ShowGalleryButton();
}

void TformProjectEditPicture::imgFullscreenClick()
{
    if (evCategory* page = CurrentPage())
        ShowPresentation(*page);
}
