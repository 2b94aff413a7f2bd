#include "screens/TPageEditorScreen.h"

#include "audio/BassLibrary.h"
#include "model/ProjectModification.h"
#include "model/evBranding.h"
#include "model/evCategory.h"
#include "model/evLayout.h"
#include "model/evProject.h"
#include "model/evProjectorPage.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Errors.h"
#include "platform/Jpeg.h"
#include "platform/Log.h"
#include "screens/ApplicationContext.h"
#include "screens/DataIndexes.h"
#include "screens/HourglassCursor.h"
#include "screens/ScreenSet.h"
#include "screens/SkinService.h"
#include "screens/TFormExit.h"
#include "screens/TFormExitAndSave.h"
#include "screens/TFormProjectMenu.h"
#include "screens/TformPreview.h"
#include "screens/TframeTimeline.h"

#include <QCloseEvent>
#include <QKeyEvent>

#include <algorithm>

namespace G = Geometry::EditorCommon;

namespace {

bool SpeechPossible()
{
    const evBranding* branding = SkinBranding();
    return soundAvailable && branding && branding->GetSpeech().Count() > 0;
}

} // namespace

TPageEditorScreen::TPageEditorScreen(const Look& look) : SkinnedScreen(Kind::FullScreen), m_look(look)
{
    SetLeaveKeyHandler([this](int key, Qt::KeyboardModifiers modifiers) { FormKeyDown(key, modifiers); });
    labelHelp = AddLabel(G::labelHelp, HintLabelStyle());
    WatchHints(labelHelp, &m_helpNumber);
    labelHelp->setAttribute(Qt::WA_TransparentForMouseEvents);
    imgLogo = AddImage(G::imgLogo);
    cdrom = AddSkinImage(G::cdrom, Skin::EditorBottomStrip);
    CreateTabs();
    CreateTopBar();
    imgFullscreen = AddHoverImage(G::imgFullscreen, look.fullscreen);
    ReportMouse(imgFullscreen);
    AddHint(imgFullscreen, look.fullscreenHint);
    AddHover(imgFullscreen);
}

TPageEditorScreen::~TPageEditorScreen() = default;

void TPageEditorScreen::CreateTopBar()
{
    imgTopPrjMenu = AddHoverImage(G::imgTopPrjMenu, m_look.topPrjMenu);
    imgTopSave = AddHoverImage(G::imgTopSave, m_look.topSave);
    imgTopSpeaker = AddImage(G::imgTopSpeaker, TImage::Role::Background);
    imgTopSpeakerOver = AddImage(G::imgTopSpeakerOver, TImage::Role::Hover);
    imgTopExit = AddHoverImage(G::imgTopExit, m_look.topExit);
    const std::pair<TImage*, int32_t> hints[] = {{imgTopPrjMenu, Help::HintTopProjectMenu},
                                                 {imgTopSave, Help::HintTopSave},
                                                 {imgTopSpeaker, Help::HintTopSpeaker},
                                                 {imgTopSpeakerOver, Help::HintTopSpeaker},
                                                 {imgTopExit, Help::HintTopExit}};
    for (const auto& [image, hint] : hints) {
        ReportMouse(image);
        AddHint(image, hint);
    }
    for (TImage* image : {imgTopPrjMenu, imgTopSave, imgTopSpeakerOver, imgTopExit})
        AddHover(image);
    connect(imgTopPrjMenu, &TImage::clicked, this, [this] { imgTopPrjMenuClick(); });
    connect(imgTopSave, &TImage::clicked, this, [this] { imgTopSaveClick(); });
    connect(imgTopSpeakerOver, &TImage::clicked, this, [this] { imgTopSpeakerOverClick(); });
    connect(imgTopExit, &TImage::clicked, this, [this] { imgTopExitClick(); });
}

// The editor's own tab only shows its hint; the other two lead to their editors unless greyed.
void TPageEditorScreen::CreateTabs()
{
    const auto own = [this](const Geometry::ControlRect& rect) {
        TImage* image = AddImage(rect, TImage::Role::Background);
        ReportMouse(image);
        AddHint(image, m_look.ownTabHint);
        return image;
    };
    if (m_look.ownTab == ResultLayout) {
        imgBtnLay = own(G::imgBtnLay);
    } else {
        imgBtnLay = AddTab(G::imgBtnLay, ResultLayout, Skin::TabLayoutActive, Help::HintTabLayout);
        imgBtnLayDisabled = AddTabCover(G::imgBtnLay, Skin::TabLayoutGreyed);
    }
    if (m_look.ownTab == ResultPictures) {
        imgBtnPic = own(G::imgBtnPic);
    } else {
        imgBtnPic = AddTab(G::imgBtnPic, ResultPictures, Skin::TabPicturesActive, Help::HintTabPictures);
        imgBtnPicDisabled = AddTabCover(G::imgBtnPic, Skin::TabPicturesGreyed);
    }
    if (m_look.ownTab == ResultTexts) {
        imgBtnTex = own(G::imgBtnTex);
    } else {
        imgBtnTex = AddTab(G::imgBtnTex, ResultTexts, Skin::TabTextsActive, Help::HintTabTexts);
        imgBtnTexDisabled = AddTabCover(G::imgBtnTex, Skin::TabTextsGreyed);
    }
    // A tab shows its active look under the mouse only while no greyed cover lies over it.
    const std::pair<TImage*, TImage*> tabs[] = {
        {imgBtnLay, imgBtnLayDisabled}, {imgBtnPic, imgBtnPicDisabled}, {imgBtnTex, imgBtnTexDisabled}};
    for (const auto& [tab, cover] : tabs) {
        if (cover)
            AddHover(tab, cover);
    }
}

TImage* TPageEditorScreen::AddTab(const Geometry::ControlRect& rect, int32_t editor, int32_t skinIndex, int32_t hint)
{
    TImage* tab = AddHoverImage(rect, skinIndex);
    ReportMouse(tab);
    AddHint(tab, hint);
    connect(tab, &TImage::clicked, this, [this, editor] { SetResultAndClose(editor); });
    return tab;
}

// The cover takes the clicks meant for the tab below it.
TImage* TPageEditorScreen::AddTabCover(const Geometry::ControlRect& rect, int32_t skinIndex)
{
    TImage* cover = AddImage(rect, TImage::Role::Background);
    AddSkin(cover, skinIndex);
    ReportMouse(cover);
    cover->hide();
    return cover;
}

TImage* TPageEditorScreen::AddBackground(const Geometry::ControlRect& rect, int32_t skinIndex)
{
    TImage* image = AddImage(rect, TImage::Role::Background);
    AddSkin(image, skinIndex);
    ReportMouse(image);
    image->lower();
    return image;
}

void TPageEditorScreen::ReportMouse(TImage* image)
{
    connect(image, &TImage::mouseMoved, this,
            [this, image](int x, int y) { PanelMouseMove(image, x + image->x(), y + image->y()); });
}

void TPageEditorScreen::AddHint(TImage* image, int32_t helpIndex)
{
    if (helpIndex < 0)
        return;
    connect(image, &TImage::mouseMoved, this, [this, helpIndex](int, int) { ShowHint(helpIndex); });
}

void TPageEditorScreen::AddHover(TImage* image, const TImage* cover) { m_hover.push_back({image, cover}); }

void TPageEditorScreen::SetTabPossible(int32_t editor, bool possible)
{
    TImage* cover = editor == ResultLayout     ? imgBtnLayDisabled
                    : editor == ResultPictures ? imgBtnPicDisabled
                                               : imgBtnTexDisabled;
    if (cover)
        cover->setVisible(!possible);
}

// ------------------------------------------------------------------------------------------------------ run

int32_t TPageEditorScreen::Run(TframeTimeline& timeline)
{
    Prepare(timeline);
    if (m_result == ResultProjectMenu) {
        UpdateSpeakerImages();
        PlaySpeech(m_look.speechClip);
        ShowModal();
    }
    Finish();
    return m_result;
}

void TPageEditorScreen::Prepare(TframeTimeline& timeline)
{
    BeginRun();
    m_mayClose = false;
    m_result = ResultProjectMenu;
    m_helpNumber = -1;
    for (const HoverEntry& entry : m_hover)
        entry.image->hide();
    m_timeline = &timeline;
    PrepareEditor();
    ShowThePage();
}

void TPageEditorScreen::Finish()
{
    EndRun();
    imgTopSpeaker->ClearPicture();
    imgTopSpeakerOver->ClearPicture();
    StopSpeech();
}

evCategory* TPageEditorScreen::CurrentPage() const { return m_timeline ? m_timeline->CurrentPage() : nullptr; }

void TPageEditorScreen::PageChanged()
{
    ClearPointerLooks();
    ShowThePage();
}

void TPageEditorScreen::ShowHint(int32_t index) { ShowHelpHint(labelHelp, m_helpNumber, index); }

void TPageEditorScreen::SetResultAndClose(int32_t result)
{
    m_result = result;
    CloseForm();
}

void TPageEditorScreen::CloseForm()
{
    m_mayClose = true;
    Close();
}

// ------------------------------------------------------------------------------------------------- top bar

void TPageEditorScreen::imgTopPrjMenuClick() { CloseForm(); }

// The project menu's own save action, so that its save button and status lines follow; without the menu (a
// screen run on its own) the project is saved directly.
void TPageEditorScreen::imgTopSaveClick()
{
    StopSpeech();
    if (auto* menu = dynamic_cast<TFormProjectMenu*>(GetProjectModificationHost())) {
        ShowSaveResult(menu->Save());
        return;
    }
    HourglassCursor hourglass;
    ApplicationContext* context = AppContext();
    const bool saved = context && context->SaveProject();
    if (saved)
        ClearModified();
    ShowSaveResult(saved);
}

void TPageEditorScreen::imgTopSpeakerOverClick()
{
    ToggleSpeech();
    UpdateSpeakerImages();
    if (SpeechEnabled())
        PlaySpeech(m_look.speechClip);
}

void TPageEditorScreen::imgTopExitClick() { ExitDecision(); }

void TPageEditorScreen::ExitDecision()
{
    m_mayClose = false;
    if (AskToLeave())
        SetResultAndClose(ResultLeave);
}

bool TPageEditorScreen::AskToLeave()
{
    if (IsModified()) {
        TFormExitAndSave* question = Screens().formExitAndSave.get();
        const int32_t answer = question ? question->Run() : TFormExitAndSave::AnswerStay;
        // A save that fails was reported; the editor stays, so the changes are not left behind unsaved.
        if (answer == TFormExitAndSave::AnswerSaveAndLeave) {
            ApplicationContext* context = AppContext();
            return !context || context->SaveProject();
        }
        return answer == TFormExitAndSave::AnswerLeave;
    }
    TFormExit* question = Screens().formExit.get();
    return question && question->Run();
}

void TPageEditorScreen::SetSkinPicture(TImage* image, int32_t index) { ShowSkinPicture(image, index); }

void TPageEditorScreen::UpdateSpeakerImages() { ShowSpeaker(imgTopSpeaker, imgTopSpeakerOver, m_look); }

void TPageEditorScreen::ShowSpeaker(TImage* speaker, TImage* speakerOver, const Look& look)
{
    if (!SpeechPossible()) {
        SetSkinPicture(speaker, look.speakerNoSound);
        speakerOver->ClearPicture();
        speaker->setCursor(Qt::ArrowCursor);
        speakerOver->setCursor(Qt::ArrowCursor);
        return;
    }
    speakerOver->setCursor(Qt::PointingHandCursor);
    if (SpeechEnabled()) {
        speaker->ClearPicture();
        SetSkinPicture(speakerOver, look.speakerOnOver);
    } else {
        SetSkinPicture(speaker, look.speakerOff);
        SetSkinPicture(speakerOver, look.speakerOffOver);
    }
}

// ------------------------------------------------------------------------------------------ keys and mouse

void TPageEditorScreen::FormKeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    if (key == Qt::Key_F4 && (modifiers & Qt::AltModifier))
        ExitDecision();
    else if (key == Qt::Key_Escape)
        CloseForm();
}

// The window manager's close (Alt+F4 on most desktops) asks the same question as the exit button.
void TPageEditorScreen::closeEvent(QCloseEvent* event)
{
    if (FormCloseQuery()) {
        event->accept();
        return;
    }
    event->ignore();
    ExitDecision();
}

void TPageEditorScreen::PanelMouseMove(const QObject* sender, int x, int y)
{
    for (const HoverEntry& entry : m_hover) {
        if (entry.image->isEnabled() && !(entry.cover && !entry.cover->isHidden()))
            HoverShow(x, y, entry.image, sender);
        else if (entry.image != sender && entry.image->isEnabled())
            entry.image->hide();
    }
}

// ------------------------------------------------------------------------------------------- page display

// The yellow frame lies around the rectangle, so that it hides nothing of what the rectangle shows (the first
// line of a text); at the page's edges it comes inside just as far as it must to stay visible.
void TPageEditorScreen::DrawFrameAround(Bitmap& page, const TRect& frame)
{
    constexpr int kPen = 8;
    constexpr int kHalf = kPen / 2;
    const int32_t left = std::max(frame.Left - kHalf - 1, kHalf);
    const int32_t top = std::max(frame.Top - kHalf - 1, kHalf);
    const int32_t right = std::min(frame.Right + kHalf + 1, page.Width() - kHalf);
    const int32_t bottom = std::min(frame.Bottom + kHalf + 1, page.Height() - kHalf);
    Canvas& canvas = page.GetCanvas();
    canvas.SetBrushStyle(BrushStyle::Clear);
    canvas.SetPenStyle(PenStyle::Solid);
    canvas.SetPenWidth(kPen);
    canvas.SetPenColor(0x00FFFF);
    canvas.Rectangle(Rect(left, top, right, bottom));
}

void TPageEditorScreen::ShowPageWithFrame(TImage* preview, const evCategory& page, const TRect* frame)
{
    const evLayout* design = Design();
    preview->ClearPicture();
    if (!design)
        return;
    try {
        Bitmap bitmap(design->GetPageWidth(), design->GetPageHeight());
        page.AssignPreviewTo(bitmap);
        if (frame)
            DrawFrameAround(bitmap, *frame);
        Bitmap shown(preview->width(), preview->height());
        shown.GetCanvas().StretchDraw(Rect(0, 0, shown.Width(), shown.Height()), bitmap);
        preview->SetPicture(shown.ToQImage());
    } catch (const EVelloraError& e) {
        ktLogs::LogLine(std::string("Page preview not shown: ") + e.what());
    }
}

void TPageEditorScreen::ShowPresentation(evCategory& page)
{
    TformPreview* preview = Screens().formPreview.get();
    if (!preview)
        return;
    std::unique_ptr<evProjectorPage> presentation;
    {
        HourglassCursor hourglass;
        presentation = page.CreatePresentationPage();
    }
    preview->ShowPage(std::move(presentation));
}

evProject* TPageEditorScreen::Project()
{
    const ApplicationContext* context = AppContext();
    return context ? context->GetCurrentProject() : nullptr;
}

evLayout* TPageEditorScreen::Design()
{
    const evProject* project = Project();
    return project ? project->GetDesign() : nullptr;
}
