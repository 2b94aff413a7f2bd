#include "screens/TFormGallery.h"

#include "audio/BassLibrary.h"
#include "model/ProjectModification.h"
#include "model/evBranding.h"
#include "model/evCategory.h"
#include "model/evCategoryEntry.h"
#include "model/evObjectCollection.h"
#include "model/evPicture.h"
#include "platform/Canvas.h"
#include "platform/Errors.h"
#include "screens/ApplicationContext.h"
#include "screens/DataIndexes.h"
#include "screens/HourglassCursor.h"
#include "screens/ScreenSet.h"
#include "screens/SkinService.h"
#include "screens/TFormImageEdit.h"
#include "screens/TPageEditorScreen.h"
#include "screens/TformProjectEditPicture.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QTimer>

#include <algorithm>

namespace G = Geometry::Gallery;

namespace {

constexpr int kBand = G::StripBandLeft; // the strip window leaves this much of the background on either side
constexpr int kPreviewWidth = 400;
constexpr int kPreviewHeight = 300;
constexpr int32_t kSpeechClip = 14;
constexpr TColor kYellow = 0x00FFFF;

// The largest size of the picture's proportions with the box's width, or its height when that is too high.
TPoint FitInto(int width, int height, int boxWidth, int boxHeight)
{
    int w = boxWidth;
    int h = static_cast<int>(static_cast<int64_t>(height) * boxWidth / width);
    if (h > boxHeight) {
        h = boxHeight;
        w = static_cast<int>(static_cast<int64_t>(width) * boxHeight / height);
    }
    return TPoint{w, h};
}

TRect Centred(int centreX, int centreY, TPoint size)
{
    return Rect(centreX - size.X / 2, centreY - size.Y / 2, centreX + size.X / 2, centreY + size.Y / 2);
}

// The photograph of a user element; none when it is no picture or has no size.
const evPicture* PhotographOf(const evObject* element)
{
    const auto* photograph = dynamic_cast<const evPicture*>(element);
    if (!photograph || photograph->GetWidth() <= 0 || photograph->GetHeight() <= 0)
        return nullptr;
    return photograph;
}

void Outline(Bitmap& bitmap, const TRect& rect, TColor colour)
{
    Canvas& canvas = bitmap.GetCanvas();
    canvas.SetBrushStyle(BrushStyle::Clear);
    canvas.SetPenStyle(PenStyle::Solid);
    canvas.SetPenWidth(1);
    canvas.SetPenColor(colour);
    canvas.Rectangle(rect);
}

void Fill(Bitmap& bitmap, const TRect& rect, TColor colour)
{
    Canvas& canvas = bitmap.GetCanvas();
    canvas.SetBrushStyle(BrushStyle::Solid);
    canvas.SetBrushColor(colour);
    canvas.FillRect(rect);
}

} // namespace

TFormGallery::TFormGallery() : SkinnedScreen(Kind::FullScreen)
{
    SetLeaveKeyHandler([this](int key, Qt::KeyboardModifiers modifiers) { FormKeyDown(key, modifiers); });
    labelHelp = AddLabel(G::labelHelp, HintLabelStyle());
    WatchHints(labelHelp, &m_helpNumber);
    labelHelp->setAttribute(Qt::WA_TransparentForMouseEvents);
    imgLogo = AddImage(G::imgLogo);
    imgPreview = AddImage(G::imgPreview, TImage::Role::Background);
    ImgBtnLoad = AddButton(G::ImgBtnLoad, Help::HintAddFromFile);
    ImgBtnScan = AddButton(G::ImgBtnScan, Help::HintAddFromScanner);
    ImgNoScanner = AddImage(G::ImgNoScanner, TImage::Role::Background);
    AddSkin(ImgNoScanner, Skin::GalleryNoScanner);
    ImgDelete = AddButton(G::ImgDelete, Help::HintGalleryDelete);
    imgApply = AddButton(G::imgApply, Help::HintGalleryKeep);
    ImgCancel = AddButton(G::ImgCancel, Help::HintGalleryCancel);
    imgTopPrjMenu = AddTopBarImage(G::imgTopPrjMenu, Skin::PictureTopProjectMenuActive, Help::HintTopProjectMenu);
    imgTopSave = AddTopBarImage(G::imgTopSave, Skin::PictureTopSaveActive, Help::HintTopSave);
    imgTopSpeaker = AddImage(G::imgTopSpeaker, TImage::Role::Background);
    imgTopSpeakerOver = AddImage(G::imgTopSpeakerOver, TImage::Role::Hover);
    imgTopExit = AddTopBarImage(G::imgTopExit, Skin::PictureTopExitActive, Help::HintTopExit);
    for (TImage* speaker : {imgTopSpeaker, imgTopSpeakerOver})
        connect(speaker, &TImage::mouseMoved, this,
                [this](int, int) { ShowHelpHint(labelHelp, m_helpNumber, Help::HintTopSpeaker); });
    imgTimelineBG = AddImage(G::imgTimelineBG);
    AddSkin(imgTimelineBG, Skin::GalleryStrip);
    imgTimelineBG->hide();
    ImgTimeline = AddImage(G::ImgTimeline, TImage::Role::Background);
    imgScrollLeft = AddImage(G::imgScrollLeft, TImage::Role::Button);
    AddSkin(imgScrollLeft, Skin::ScrollLeft);
    imgScrollRight = AddImage(G::imgScrollRight, TImage::Role::Button);
    AddSkin(imgScrollRight, Skin::ScrollRight);
    imgBg1 = AddBackground(G::imgBg1, Skin::GalleryBackgroundLeft);
    imgBg2 = AddBackground(G::imgBg2, Skin::PictureBackgroundTopRight);
    imgBg3 = AddBackground(G::imgBg3, Skin::PictureBackgroundBottomRight);
    imgBg4 = AddBackground(G::imgBg4, Skin::GalleryBackgroundRight);
    timer = new QTimer(this);
    timer->setInterval(100);
    ConnectHandlers();
}

TFormGallery::~TFormGallery() = default;

TImage* TFormGallery::AddBackground(const Geometry::ControlRect& rect, int32_t skinIndex)
{
    TImage* image = AddImage(rect, TImage::Role::Background);
    AddSkin(image, skinIndex);
    connect(image, &TImage::mouseMoved, this,
            [this, image](int x, int y) { PanelMouseMove(image, x + image->x(), y + image->y()); });
    image->lower();
    return image;
}

TImage* TFormGallery::AddButton(const Geometry::ControlRect& rect, int32_t hint)
{
    TImage* button = AddImage(rect, TImage::Role::Button);
    connect(button, &TImage::mouseMoved, this, [this, hint](int, int) { ShowHelpHint(labelHelp, m_helpNumber, hint); });
    return button;
}

TImage* TFormGallery::AddTopBarImage(const Geometry::ControlRect& rect, int32_t skinIndex, int32_t hint)
{
    TImage* image = AddHoverImage(rect, skinIndex);
    connect(image, &TImage::mouseMoved, this, [this, hint](int, int) { ShowHelpHint(labelHelp, m_helpNumber, hint); });
    return image;
}

void TFormGallery::ConnectHandlers()
{
    connect(ImgTimeline, &TImage::mouseMoved, this, [this](int x, int y) { ImgTimelineMouseMove(x, y); });
    connect(ImgTimeline, &TImage::mouseDown, this, [this](int x, int y) { ImgTimelineMouseDown(x, y); });
    connect(imgScrollLeft, &TImage::mouseDown, this, [this](int, int) { imgScrollLeftMouseDown(); });
    connect(imgScrollRight, &TImage::mouseDown, this, [this](int, int) { imgScrollRightMouseDown(); });
    for (TImage* scroll : {imgScrollLeft, imgScrollRight})
        connect(scroll, &TImage::mouseUp, this, [this](int, int) { imgScrollMouseUp(); });
    connect(timer, &QTimer::timeout, this, [this] { timerTimer(); });
    connect(ImgBtnLoad, &TImage::clicked, this, [this] { ImgBtnLoadClick(); });
    connect(ImgBtnScan, &TImage::clicked, this, [this] { ImgBtnScanClick(); });
    connect(ImgDelete, &TImage::clicked, this, [this] { ImgDeleteClick(); });
    connect(imgApply, &TImage::clicked, this, [this] { imgApplyClick(); });
    connect(ImgCancel, &TImage::clicked, this, [this] { ImgCancelClick(); });
    connect(imgTopPrjMenu, &TImage::clicked, this, [this] { imgTopPrjMenuClick(); });
    connect(imgTopSave, &TImage::clicked, this, [this] { imgTopSaveClick(); });
    connect(imgTopSpeakerOver, &TImage::clicked, this, [this] { imgTopSpeakerOverClick(); });
    connect(imgTopExit, &TImage::clicked, this, [this] { imgTopExitClick(); });
}

// ------------------------------------------------------------------------------------------------------ run

int32_t TFormGallery::Run(evCategory& page, int32_t key, bool fixedOrientation, int32_t slotWidth, int32_t slotHeight)
{
    Prepare(page, key, fixedOrientation, slotWidth, slotHeight);
    PlaySpeech(kSpeechClip);
    ShowModal();
    Finish();
    return m_result;
}

void TFormGallery::Prepare(evCategory& page, int32_t key, bool fixedOrientation, int32_t slotWidth, int32_t slotHeight)
{
    BeginRun();
    m_offset = 0;
    m_step = 0;
    m_copy = page.GetUserElements().Clone();
    m_hovered = -1;
    m_page = &page;
    m_key = key;
    m_fixedOrientation = fixedOrientation;
    m_slotWidth = slotWidth;
    m_slotHeight = slotHeight;
    m_selected = -1;
    m_background = Bitmap(G::imgTimelineBG.w, G::imgTimelineBG.h);
    Fill(m_background, Rect(0, 0, G::imgTimelineBG.w, G::imgTimelineBG.h), kColorBlack);
    if (imgTimelineBG->HasPicture())
        m_background.GetCanvas().Draw(0, 0, Bitmap(imgTimelineBG->Picture()));
    m_view = Bitmap(G::imgTimelineBG.w, G::imgTimelineBG.h);
    ClearPreview();
    const TformProjectEditPicture* editor = Screens().formEditPicture.get();
    ImgNoScanner->setVisible(!editor || !editor->HasScanner());
    UpdateSpeakerImages();
    m_applied = false;
    m_mayClose = false;
    m_changed = false;
    m_savedChanges = false;
    m_result = ResultBack;
    m_helpNumber = -1;
    for (TImage* hover : {imgTopPrjMenu, imgTopSave, imgTopSpeakerOver, imgTopExit})
        hover->hide();
    BuildStrip();
}

void TFormGallery::Finish()
{
    timer->stop();
    StopSpeech();
    EndRun();
    imgTopSpeaker->ClearPicture();
    imgTopSpeakerOver->ClearPicture();
    if (m_page && !m_applied && m_copy) {
        m_page->SetUserElements(std::move(m_copy));
        m_page->MarkDirty();
        // A save during the run wrote the changes now taken back: the file no longer matches the project.
        if (m_savedChanges)
            MarkModified();
    }
    m_copy.reset();
    m_cells.clear();
    m_view = m_thumbnails = m_mask = m_background = Bitmap();
    m_page = nullptr;
}

int TFormGallery::BackgroundWidth() const { return m_background.Width(); }

// ------------------------------------------------------------------------------------------------ the strip

void TFormGallery::BuildStrip()
{
    m_offset = 0;
    m_step = 0;
    m_cells.clear();
    m_hovered = -1;
    const int32_t count = m_page ? m_page->GetUserElements().Count() : 0;
    m_stripWidth = count * kColumnWidth;
    m_thumbnails = Bitmap(std::max(m_stripWidth, 1), G::imgTimelineBG.h);
    m_mask = Bitmap(std::max(m_stripWidth, 1), G::imgTimelineBG.h);
    Fill(m_thumbnails, Rect(0, 0, m_thumbnails.Width(), m_thumbnails.Height()), kColorBlack);
    Fill(m_mask, Rect(0, 0, m_mask.Width(), m_mask.Height()), kColorWhite);
    for (int32_t i = 0; i < count; ++i)
        DrawThumbnail(i);
    // A selection past the cells (none of the page's elements carries the key) means none.
    if (m_selected >= static_cast<int32_t>(m_cells.size()))
        m_selected = -1;
    if (m_selected < 0 && !m_cells.empty())
        m_selected = 0;
    if (m_cells.empty()) {
        DrawView();
        return;
    }
    const int right = m_cells[static_cast<size_t>(m_selected)].rect.Right;
    if (right > ImgTimeline->width() - kBand)
        m_offset = right + 106 - ImgTimeline->width();
    ShowCell(m_selected);
}

// The photograph under the gallery's key, centred in the element's column; others leave their column empty. A
// photograph that cannot be decoded shows the damaged mark in its cell, so that it can be deleted.
void TFormGallery::DrawThumbnail(int32_t entryIndex)
{
    const auto* entry = m_page->GetUserElements().GetItemAs<evCategoryEntry>(entryIndex);
    if (!entry || entry->GetSlotID() != m_key)
        return;
    // The size comes from the header; the photograph is decoded at the scale of its cell only.
    const evPicture* photograph = PhotographOf(entry->GetElement());
    const TPoint size = !photograph
                            ? TPoint{kThumbnailSize, kThumbnailSize}
                            : FitInto(photograph->GetWidth(), photograph->GetHeight(), kThumbnailSize, kThumbnailSize);
    const TRect cell = Centred(entryIndex * kColumnWidth + kColumnWidth / 2, G::CellCentreY, size);
    if (photograph)
        m_thumbnails.GetCanvas().Draw(cell.Left, cell.Top, photograph->ScaledTo(cell.Width(), cell.Height()));
    Fill(m_mask, cell, kColorBlack);
    Outline(m_thumbnails, cell, kColorBlack);
    m_cells.push_back({cell, entryIndex});
}

void TFormGallery::DrawView()
{
    m_offset += m_step;
    if (m_view.IsEmpty())
        return;
    Canvas& canvas = m_view.GetCanvas();
    canvas.Draw(0, 0, m_background);
    const int window = m_view.Width() - 2 * kBand;
    canvas.BitBlt(kBand, 0, window, m_view.Height(), m_mask, m_offset, 0, RasterOp::SrcAnd);
    canvas.BitBlt(kBand, 0, window, m_view.Height(), m_thumbnails, m_offset, 0, RasterOp::SrcPaint);
    ImgTimeline->SetPicture(m_view.ToQImage());
}

void TFormGallery::ShowCell(int32_t cell)
{
    if (!m_page || cell < 0 || cell >= static_cast<int32_t>(m_cells.size()))
        return;
    const Cell& shown = m_cells[static_cast<size_t>(cell)];
    const auto* entry = m_page->GetUserElements().GetItemAs<evCategoryEntry>(shown.entryIndex);
    if (!entry || entry->GetSlotID() != m_key)
        return;
    ClearPreview();
    if (const evPicture* photograph = PhotographOf(entry->GetElement())) {
        Bitmap preview(kPreviewWidth, kPreviewHeight);
        Fill(preview, Rect(0, 0, kPreviewWidth, kPreviewHeight), kColorWhite);
        m_previewRect =
            Centred(kPreviewWidth / 2, kPreviewHeight / 2,
                    FitInto(photograph->GetWidth(), photograph->GetHeight(), kPreviewWidth, kPreviewHeight));
        preview.GetCanvas().Draw(m_previewRect.Left, m_previewRect.Top,
                                 photograph->ScaledTo(m_previewRect.Width(), m_previewRect.Height()));
        imgPreview->SetPicture(preview.ToQImage());
    }
    if (m_selected != cell && m_selected >= 0 && m_selected < static_cast<int32_t>(m_cells.size()))
        Outline(m_thumbnails, m_cells[static_cast<size_t>(m_selected)].rect, kColorBlack);
    Outline(m_thumbnails, shown.rect, kYellow);
    m_step = 0;
    DrawView();
    m_selected = cell;
}

void TFormGallery::ClearPreview()
{
    Bitmap white(kPreviewWidth, kPreviewHeight);
    Fill(white, Rect(0, 0, kPreviewWidth, kPreviewHeight), kColorWhite);
    imgPreview->SetPicture(white.ToQImage());
    m_previewRect = TRect{};
}

// ------------------------------------------------------------------------------------------- strip mouse

void TFormGallery::ImgTimelineMouseMove(int x, int y)
{
    m_hovered = -1;
    for (size_t i = 0; i < m_cells.size(); ++i) {
        const TRect& r = m_cells[i].rect;
        const int stripX = x - kBand;
        if (r.Left - m_offset <= stripX && stripX <= r.Right - m_offset - 1 && r.Top <= y && y <= r.Bottom - 1) {
            m_hovered = static_cast<int32_t>(i);
            break;
        }
    }
    ImgTimeline->setCursor(m_hovered >= 0 ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void TFormGallery::ImgTimelineMouseDown(int x, int y)
{
    ImgTimelineMouseMove(x, y);
    if (m_hovered >= 0)
        ShowCell(m_hovered);
}

void TFormGallery::imgScrollLeftMouseDown()
{
    m_step = -10;
    if (m_offset > 0)
        timer->start();
}

void TFormGallery::imgScrollRightMouseDown()
{
    m_step = 10;
    if (m_stripWidth + 2 * kBand - m_offset >= BackgroundWidth())
        timer->start();
}

void TFormGallery::imgScrollMouseUp() { timer->stop(); }

bool TFormGallery::IsScrolling() const { return timer->isActive(); }

void TFormGallery::timerTimer()
{
    const bool roomLeft = m_offset > 0 || m_step >= 0;
    const bool roomRight = m_stripWidth - m_offset > BackgroundWidth() - 2 * kBand || m_step < 1;
    if (roomLeft && roomRight)
        DrawView();
    else
        timer->stop();
}

// ---------------------------------------------------------------------------------------- add and delete

void TFormGallery::ImgBtnLoadClick()
{
    StopSpeech();
    if (!m_page)
        return;
    const std::vector<std::string> files = TformProjectEditPicture::ChoosePictureFiles(true);
    const int32_t before = static_cast<int32_t>(m_cells.size());
    if (AddEdited(nullptr, files))
        AfterAddition(before);
}

bool TFormGallery::AddEdited(const Bitmap* scan, const std::vector<std::string>& files)
{
    TFormImageEdit* imageEdit = Screens().formImageEdit.get();
    if (!imageEdit)
        return false;
    bool added = false;
    Bitmap work;
    const auto store = [&] {
        m_page->AddUserElement(m_key, std::make_unique<evPicture>("", work));
        added = true;
    };
    if (scan && imageEdit->Run(*scan, m_slotWidth, m_slotHeight, m_fixedOrientation, work))
        store();
    for (const std::string& file : files) {
        if (imageEdit->Run(file, m_slotWidth, m_slotHeight, m_fixedOrientation, work))
            store();
    }
    return added;
}

// The first new photograph becomes the selection.
void TFormGallery::AfterAddition(int32_t firstNewCell)
{
    m_changed = true;
    MarkModified();
    m_selected = firstNewCell;
    BuildStrip();
}

// The picture editor's scanner scans for the gallery; without a driver the cover takes the clicks.
void TFormGallery::ImgBtnScanClick()
{
    StopSpeech();
    TformProjectEditPicture* editor = Screens().formEditPicture.get();
    if (!m_page || !editor || !editor->HasScanner())
        return;
    editor->SetScanModeGallery();
    editor->StartScan(*this, m_scanBitmap);
}

void TFormGallery::ScanReady()
{
    const Bitmap scan = std::move(m_scanBitmap);
    m_scanBitmap = Bitmap();
    if (!m_page || scan.IsEmpty())
        return;
    const int32_t before = static_cast<int32_t>(m_cells.size());
    if (AddEdited(&scan, {}))
        AfterAddition(before);
}

void TFormGallery::ImgDeleteClick()
{
    StopSpeech();
    if (!m_page)
        return;
    if (m_selected >= 0 && m_selected < static_cast<int32_t>(m_cells.size())) {
        m_page->GetUserElements().Delete(m_cells[static_cast<size_t>(m_selected)].entryIndex);
        m_page->MarkDirty();
        m_changed = true;
        ClearPreview();
        --m_selected;
    }
    BuildStrip();
}

// ----------------------------------------------------------------------------------------- leaving

void TFormGallery::CloseWith(int32_t result)
{
    m_result = result;
    m_mayClose = true;
    Close();
}

void TFormGallery::imgApplyClick()
{
    MarkModified();
    m_applied = true;
    CloseWith(ResultBack);
}

void TFormGallery::ImgCancelClick() { CloseWith(ResultBack); }

void TFormGallery::imgTopPrjMenuClick() { CloseWith(ResultProjectMenu); }

void TFormGallery::imgTopSaveClick()
{
    StopSpeech();
    HourglassCursor hourglass;
    ApplicationContext* context = AppContext();
    const bool saved = context && context->SaveProject();
    if (saved) {
        ClearModified();
        m_savedChanges = m_savedChanges || m_changed;
    }
    ShowSaveResult(saved);
}

void TFormGallery::imgTopSpeakerOverClick()
{
    ToggleSpeech();
    UpdateSpeakerImages();
    if (SpeechEnabled())
        PlaySpeech(kSpeechClip);
}

void TFormGallery::imgTopExitClick() { ExitDecision(); }

void TFormGallery::ExitDecision()
{
    m_mayClose = false;
    if (TPageEditorScreen::AskToLeave())
        CloseWith(ResultLeave);
}

void TFormGallery::FormKeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    if (key == Qt::Key_F4 && (modifiers & Qt::AltModifier))
        ExitDecision();
    else if (key == Qt::Key_Escape)
        CloseWith(m_result);
}

void TFormGallery::closeEvent(QCloseEvent* event)
{
    if (m_mayClose) {
        event->accept();
        return;
    }
    event->ignore();
    ExitDecision();
}

// ---------------------------------------------------------------------------------------- look

void TFormGallery::PanelMouseMove(const QObject* sender, int x, int y)
{
    for (TImage* hover : {imgTopPrjMenu, imgTopSave, imgTopSpeakerOver, imgTopExit})
        HoverShow(x, y, hover, sender);
}

void TFormGallery::UpdateSpeakerImages()
{
    TPageEditorScreen::Look look;
    look.speakerNoSound = Skin::PictureSpeakerNoSound;
    look.speakerOnOver = Skin::PictureSpeakerOnActive;
    look.speakerOff = Skin::PictureSpeakerOff;
    look.speakerOffOver = Skin::PictureSpeakerOffActive;
    TPageEditorScreen::ShowSpeaker(imgTopSpeaker, imgTopSpeakerOver, look);
}
