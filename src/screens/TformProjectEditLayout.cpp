#include "screens/TformProjectEditLayout.h"

#include "model/ProjectModification.h"
#include "model/evCategory.h"
#include "model/evLayout.h"
#include "model/evObjectCollection.h"
#include "model/evPageLayout.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Errors.h"
#include "platform/Log.h"
#include "platform/PanelScale.h"
#include "platform/Text.h"
#include "screens/DataIndexes.h"
#include "screens/HourglassCursor.h"
#include "screens/ScreenSet.h"
#include "screens/SkinService.h"
#include "screens/TframeTimeline.h"
#include "screens/TokPopup.h"
#include "screens/TyesNoPopup.h"

#include <QMouseEvent>

namespace G = Geometry::EditLayout;

namespace {

constexpr TColor kLabelBackground = 0x808080;

TPageEditorScreen::Look LayoutLook()
{
    TPageEditorScreen::Look look;
    look.ownTab = TPageEditorScreen::ResultLayout;
    look.ownTabHint = Help::HintLayoutTab;
    look.topPrjMenu = Skin::LayoutTopProjectMenuActive;
    look.topSave = Skin::LayoutTopSaveActive;
    look.topExit = Skin::LayoutTopExitActive;
    look.fullscreen = Skin::LayoutFullscreenActive;
    look.fullscreenHint = Help::HintLayoutFullScreen;
    look.speakerOff = Skin::LayoutSpeakerOff;
    look.speakerOffOver = Skin::LayoutSpeakerOffActive;
    look.speakerOnOver = Skin::LayoutSpeakerOnActive;
    look.speakerNoSound = Skin::LayoutSpeakerNoSound;
    look.speechClip = 0;
    return look;
}

LabelStyle LayoutLabelStyle()
{
    LabelStyle style;
    style.family = "MS Sans Serif";
    style.pixelSize = PointsToPixels(10);
    style.bold = true;
    return style;
}

// Kinds 0 to 4 have a list (kind 3 is listed with kind 1); the special pages (kind 8) are never offered.
bool IsListedKind(int32_t kind) { return kind >= pkTextOnly && kind <= pkAnimation; }

int32_t ListOfKind(int32_t kind) { return kind == pkPictureOnly2 ? pkPictureOnly : kind; }

bool NeedsNoTexts(int32_t kind)
{
    return kind == pkPictureOnly || kind == pkPictureOnly2 || kind == pkAnimation || kind == pkPictureOther;
}

} // namespace

TformProjectEditLayout::TformProjectEditLayout() : TPageEditorScreen(LayoutLook())
{
    imgBkg = AddBackground(G::imgBkg, Skin::LayoutBackground);
    imgPreview = AddImage(G::imgPreview, TImage::Role::Background);
    ReportMouse(imgPreview);
    AddHint(imgPreview, Help::HintLayoutPreview);
    imgKindOnlyText = AddKindButton(G::imgKindOnlyText, Skin::KindOnlyTextActive, pkTextOnly, Help::HintKindOnlyText);
    imgKindTextAndPic = AddKindButton(G::imgKindTextAndPic, Skin::KindTextAndPicturesActive, pkTextAndPicture,
                                      Help::HintKindTextAndPictures);
    imgKindOnlyPic =
        AddKindButton(G::imgKindOnlyPic, Skin::KindOnlyPicturesActive, pkPictureOnly, Help::HintKindOnlyPictures);
    imgKindAnimation =
        AddKindButton(G::imgKindAnimation, Skin::KindAnimationActive, pkAnimation, Help::HintKindAnimation);
    connect(imgFullscreen, &TImage::clicked, this, [this] { imgFullscreenClick(); });
}

TformProjectEditLayout::~TformProjectEditLayout() = default;

TImage* TformProjectEditLayout::AddKindButton(const Geometry::ControlRect& rect, int32_t skinIndex, int32_t kind,
                                              int32_t hint)
{
    TImage* button = AddHoverImage(rect, skinIndex);
    ReportMouse(button);
    AddHint(button, hint);
    AddHover(button);
    connect(button, &TImage::clicked, this, [this, kind] { imgKindClick(kind); });
    return button;
}

// Every run starts from a fresh list: the project, and with it the design, may have changed since the last.
void TformProjectEditLayout::PrepareEditor()
{
    m_selectedIndex = -1;
    m_currentKind = -1;
    FreeList();
    ShowList(pkTextOnly);
    m_currentLayout = nullptr;
}

void TformProjectEditLayout::ShowThePage()
{
    evCategory* page = CurrentPage();
    if (page && page->GetKind() != 3) {
        m_result = ResultPictures;
        if (isVisible())
            CloseForm();
        return;
    }
    evPageLayout* layout = nullptr;
    if (page && page->GetPageLayoutID() != 0)
        layout = page->GetPageLayout();
    if (!layout) {
        SetTabPossible(ResultPictures, false);
        SetTabPossible(ResultTexts, false);
        m_currentKind = -1;
        ShowList(pkTextOnly);
        m_currentLayout = nullptr;
        return;
    }
    SetTabPossible(ResultPictures, layout->GetKind() != pkTextOnly);
    SetTabPossible(ResultTexts, !NeedsNoTexts(layout->GetKind()));
    SelectLayout(layout, true);
}

// ------------------------------------------------------------------------------------------------- the list

void TformProjectEditLayout::ShowList(int32_t kind)
{
    const std::pair<TImage*, int32_t> buttons[] = {{imgKindOnlyText, pkTextOnly},
                                                   {imgKindTextAndPic, pkTextAndPicture},
                                                   {imgKindOnlyPic, pkPictureOnly},
                                                   {imgKindAnimation, pkAnimation}};
    for (const auto& [button, buttonKind] : buttons) {
        button->setVisible(buttonKind == kind);
        button->setEnabled(buttonKind != kind);
    }
    if (kind == m_currentKind)
        return;
    m_currentKind = kind;
    FreeList();
    imgPreview->ClearPicture();
    evLayout* design = Design();
    if (!design || !IsListedKind(kind))
        return;
    const evObjectCollection& layouts = design->GetPageLayouts();
    for (int32_t i = 0; i < layouts.Count(); ++i) {
        auto* layout = layouts.GetItemAs<evPageLayout>(i);
        if (layout && (layout->GetKind() == kind || (kind == pkPictureOnly && layout->GetKind() == pkPictureOnly2)))
            AddLayoutLabel(layout);
    }
}

void TformProjectEditLayout::FreeList()
{
    // A label's own click can lead here, so the labels go once their events are done.
    for (const LayoutItem& item : m_layoutList) {
        item.label->removeEventFilter(this);
        item.label->hide();
        item.label->deleteLater();
    }
    m_layoutList.clear();
    m_selectedIndex = -1;
}

void TformProjectEditLayout::AddLayoutLabel(evPageLayout* layout)
{
    const int row = static_cast<int>(m_layoutList.size());
    TLabel* label = AddLabel(G::LayoutLabel(row), LayoutLabelStyle());
    // Unlike the other labels of the screens, a layout label takes the mouse.
    label->setAttribute(Qt::WA_TransparentForMouseEvents, false);
    label->setCursor(Qt::PointingHandCursor);
    label->setMouseTracking(true);
    // A long name is shortened after a whole word; the hint shows it whole.
    const QString name = TLabel::ShortenedAtWord(ToDisplay(layout->GetName()), label->font(), label->width());
    label->SetCaption(DoubleAmpersands(name));
    label->setVisible(row < G::ListMaxRows);
    label->installEventFilter(this);
    m_layoutList.push_back({label, layout});
}

void TformProjectEditLayout::SelectLayout(evPageLayout* layout, bool retry)
{
    if (!layout)
        return;
    for (size_t i = 0; i < m_layoutList.size(); ++i) {
        if (m_layoutList[i].layout->GetID() == layout->GetID()) {
            HighlightLabel(static_cast<int32_t>(i));
            m_currentLayout = layout;
            DrawLayoutPreview();
            return;
        }
    }
    if (retry && IsListedKind(layout->GetKind())) {
        ShowList(ListOfKind(layout->GetKind()));
        SelectLayout(layout, false);
        return;
    }
    // A layout no list offers (a special page) is still the page's layout: it is shown without a label.
    m_currentLayout = layout;
    DrawLayoutPreview();
}

void TformProjectEditLayout::HighlightLabel(int32_t index)
{
    if (index == m_selectedIndex || index < 0 || index >= static_cast<int32_t>(m_layoutList.size()))
        return;
    if (m_selectedIndex >= 0 && m_selectedIndex < static_cast<int32_t>(m_layoutList.size()))
        SetLabelOpaque(m_layoutList[static_cast<size_t>(m_selectedIndex)].label, false);
    SetLabelOpaque(m_layoutList[static_cast<size_t>(index)].label, true);
    m_selectedIndex = index;
}

// An opaque label shows its grey background behind white text; a transparent one black text on the skin.
void TformProjectEditLayout::SetLabelOpaque(TLabel* label, bool opaque)
{
    label->setStyleSheet(opaque ? QString("background-color: %1; color: white;").arg(ToQColor(kLabelBackground).name())
                                : QString());
    label->setAttribute(Qt::WA_TranslucentBackground, !opaque);
    label->setAttribute(Qt::WA_NoSystemBackground, !opaque);
    label->setAutoFillBackground(opaque);
    label->SetFontColour(opaque ? kColorWhite : kColorBlack);
    RepaintNow(label);
}

// The page's own layout shows the page as it is, with what was filled in (empty slots marked); the page is
// rendered again first when its preview is stale, as after opening the album. Any other layout shows its template.
void TformProjectEditLayout::DrawLayoutPreview()
{
    imgPreview->ClearPicture();
    if (!m_currentLayout)
        return;
    evCategory* page = CurrentPage();
    if (page && page->GetPageLayoutID() == m_currentLayout->GetID() && page->Render(nullptr, true)) {
        ShowPageWithFrame(imgPreview, *page, nullptr);
        return;
    }
    Bitmap blank(imgPreview->width(), imgPreview->height());
    try {
        m_currentLayout->DrawPreview(Rect(0, 0, blank.Width(), blank.Height()), blank.GetCanvas());
    } catch (const EVelloraError& e) {
        ktLogs::LogLine(std::string("Layout preview not drawn: ") + e.what());
    }
    imgPreview->SetPicture(blank.ToQImage());
}

// --------------------------------------------------------------------------------------------- list events

int32_t TformProjectEditLayout::IndexOfLabel(const QObject* label) const
{
    for (size_t i = 0; i < m_layoutList.size(); ++i) {
        if (m_layoutList[i].label == label)
            return static_cast<int32_t>(i);
    }
    return -1;
}

bool TformProjectEditLayout::eventFilter(QObject* watched, QEvent* event)
{
    const int32_t index = IndexOfLabel(watched);
    if (index < 0)
        return TPageEditorScreen::eventFilter(watched, event);
    // The press is taken, so that the release comes back to the label (a label leaves presses to its parent).
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)
        return true;
    if (event->type() == QEvent::MouseMove) {
        const auto* label = static_cast<QWidget*>(watched);
        const QPoint point = PixelAt(static_cast<QMouseEvent*>(event)->position());
        PanelMouseMove(watched, label->x() + point.x(), label->y() + point.y());
        DescribeLayout(index);
    } else if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const auto* label = static_cast<QWidget*>(watched);
        if (mouse->button() == Qt::LeftButton && label->rect().contains(PixelAt(mouse->position())))
            ChooseLayout(index);
        return true;
    }
    return false;
}

// The help texts name their language (Help::LanguageCode); a layout describes itself in English or in its other title.
void TformProjectEditLayout::DescribeLayout(int32_t index)
{
    if (index < 0 || index >= static_cast<int32_t>(m_layoutList.size()))
        return;
    const std::string language = FromDisplay(HelpText(Help::LanguageCode));
    const evPageLayout& layout = *m_layoutList[static_cast<size_t>(index)].layout;
    const QString name = ToDisplay(layout.GetName());
    const QString title = ToDisplay(layout.GetTitle(language));
    labelHelp->SetCaption(DoubleAmpersands(title.isEmpty() || title == name ? name : name + ": " + title));
    m_helpNumber = -1;
}

void TformProjectEditLayout::ChooseLayout(int32_t index)
{
    evCategory* page = CurrentPage();
    if (!page || index < 0 || index >= static_cast<int32_t>(m_layoutList.size()))
        return;
    evPageLayout* chosen = m_layoutList[static_cast<size_t>(index)].layout;
    if (page->GetPageLayoutID() != 0 && page->GetUserElements().Count() > 0) {
        TyesNoPopup* question = Screens().yesNoPopup.get();
        if (!question || !question->Run(HelpText(Help::ConfirmChangeLayout)))
            return;
    }
    HourglassCursor hourglass;
    if (page->GetUserElements().Count() > 0)
        page->SetUserElements(std::make_unique<evObjectCollection>());
    page->SetPageLayoutID(chosen->GetID());
    if (TframeTimeline* timeline = GetTimeline())
        timeline->RefreshCurrentPage();
    m_currentLayout = chosen;
    DrawLayoutPreview();
    ShowThePage();
    MarkModified();
}

void TformProjectEditLayout::imgKindClick(int32_t kind) { ShowList(kind); }

void TformProjectEditLayout::imgFullscreenClick()
{
    if (!m_currentLayout) {
        if (TokPopup* popup = Screens().okPopup.get())
            popup->Run(HelpText(Help::ChooseLayoutFirst));
        return;
    }
    if (evCategory* page = CurrentPage())
        ShowPresentation(*page);
}
