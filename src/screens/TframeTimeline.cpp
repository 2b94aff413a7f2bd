#include "screens/TframeTimeline.h"

#include "model/PageCompleteness.h"
#include "model/PageOrder.h"
#include "model/PreparedPictures.h"
#include "model/evCategory.h"
#include "model/evProject.h"
#include "platform/Canvas.h"
#include "platform/Errors.h"
#include "platform/Jpeg.h"
#include "platform/Log.h"
#include "platform/Text.h"
#include "presentation/Preflight.h"
#include "screens/ApplicationContext.h"
#include "screens/DataIndexes.h"
#include "screens/HourglassCursor.h"
#include "screens/ITimelineHost.h"
#include "screens/PanelView.h"
#include "screens/ScreenSet.h"
#include "screens/SkinService.h"
#include "screens/TyesNoPopup.h"

#include <QTimer>

#include <algorithm>
#include <array>
#include <thread>

namespace G = Geometry::Timeline;

namespace {

constexpr int kMarkerSize = 14;
constexpr int kMarkerLeft = 104;
constexpr int kRowTop = 50;
constexpr int kParentTop = 40;
constexpr int kStripHeight = 148;

// Help texts of the hover hints by hotspot kind; -1 for none.
constexpr std::array<int32_t, 7> kHotspotHints = {
    -1, -1, -1, Help::HintSwitchOffPage, Help::HintMarkerTexts, Help::HintMarkerLayout, Help::HintMarkerPictures};

evCategory* ProjectFirstCategory()
{
    const ApplicationContext* context = AppContext();
    const evProject* project = context ? context->GetCurrentProject() : nullptr;
    return project ? project->GetFirstCategory() : nullptr;
}

CanvasFont MarkerFont(TColor colour)
{
    CanvasFont font;
    font.name = "Arial";
    font.size = 8;
    font.style = fsBold;
    font.color = colour;
    return font;
}

// Switches the page off together with every page below it, at every depth.
void SwitchOffSubtree(evCategory* page)
{
    page->SetSelected(false);
    std::vector<evCategory*> stack;
    if (page->GetSub())
        stack.push_back(page->GetSub());
    while (!stack.empty()) {
        evCategory* node = stack.back();
        stack.pop_back();
        node->SetSelected(false);
        if (node->GetNext())
            stack.push_back(node->GetNext());
        if (node->GetSub())
            stack.push_back(node->GetSub());
    }
}

} // namespace

TframeTimeline::TframeTimeline(QWidget* parent) : QWidget(parent)
{
    setGeometry(G::Origin.x, G::Origin.y, G::Origin.w, G::Origin.h);
    imgBg = new TImage(this, G::imgBg);
    imgBg->hide();
    imgTimeline = new TImage(this, G::imgTimeline, TImage::Role::Background);
    imgScrollLeft = new TImage(this, G::imgScrollLeft, TImage::Role::Button);
    imgScrollRight = new TImage(this, G::imgScrollRight, TImage::Role::Button);
    LabelStyle title;
    title.colour = kColorWhite;
    labelCategoryTitle = new TLabel(this, G::labelCategoryTitle, title);
    labelCategoryTitle->setAttribute(Qt::WA_TransparentForMouseEvents);
    timer = new QTimer(this);
    timer->setInterval(100);
    m_backBuffer = Bitmap(imgBg->width(), imgBg->height());
    m_content = Bitmap(1, imgBg->height());
    m_mask = Bitmap(1, imgBg->height());
    imgScrollLeft->hide();
    imgScrollRight->hide();
    connect(imgTimeline, &TImage::mouseMoved, this, [this](int x, int y) { imgTimelineMouseMove(x, y); });
    connect(imgTimeline, &TImage::mouseDown, this, [this](int x, int y) { imgTimelineMouseDown(x, y); });
    connect(imgScrollLeft, &TImage::mouseDown, this, [this](int, int) { imgScrollLeftMouseDown(); });
    connect(imgScrollRight, &TImage::mouseDown, this, [this](int, int) { imgScrollRightMouseDown(); });
    connect(imgScrollLeft, &TImage::mouseUp, this, [this](int, int) { imgScrollMouseUp(); });
    connect(imgScrollRight, &TImage::mouseUp, this, [this](int, int) { imgScrollMouseUp(); });
    connect(timer, &QTimer::timeout, this, [this] { timerTimer(); });
    m_fillTimer = new QTimer(this);
    m_fillTimer->setSingleShot(true);
    m_fillTimer->setInterval(0);
    connect(m_fillTimer, &QTimer::timeout, this, [this] { FillPendingThumbnails(); });
}

TframeTimeline::~TframeTimeline() = default;

// ------------------------------------------------------------------------------------------------ position

void TframeTimeline::SetPosition(evCategory* category, evCategory* page, bool select)
{
    if (!category)
        category = ProjectFirstCategory();
    m_category = category;
    // Without a page the shown category is the one being edited, so the editors always have a page.
    m_currentPage = page ? page : category;
    Rebuild();
    const int32_t thumbnail = ThumbnailOf(m_currentPage);
    if (thumbnail >= 0) {
        const int32_t right = m_hotspots[thumbnail].left + kThumbWidth;
        if (right + kMargin > WindowWidth() - kMargin)
            m_scrollOffset = right + 114 - WindowWidth();
    }
    Compose();
    if (select && thumbnail >= 0) {
        m_hovered = thumbnail;
        MoveFrameTo(thumbnail);
        ShowPath(m_currentPage);
    }
}

void TframeTimeline::RefreshCurrentPage()
{
    const int32_t thumbnail = ThumbnailOf(m_currentPage);
    if (thumbnail < 0)
        return;
    const Hotspot& spot = m_hotspots[thumbnail];
    m_currentPage->MarkDirty();
    DrawPreview(m_currentPage, spot.left, spot.top);
    DrawPending({Pending{m_currentPage, spot.left, spot.top}});
    DrawMarkers(m_currentPage, spot.left, spot.top);
    Compose();
}

void TframeTimeline::RefreshMarkers()
{
    const int32_t thumbnail = ThumbnailOf(m_currentPage);
    if (thumbnail < 0)
        return;
    DrawMarkers(m_currentPage, m_hotspots[thumbnail].left, m_hotspots[thumbnail].top);
    Compose();
}

void TframeTimeline::Reset()
{
    timer->stop();
    m_category = nullptr;
    m_currentPage = nullptr;
    Rebuild();
    Compose();
    labelCategoryTitle->SetCaption(QString());
}

int32_t TframeTimeline::ThumbnailOf(const evCategory* page) const
{
    for (size_t i = 0; i < m_hotspots.size(); ++i) {
        if (m_hotspots[i].kind == hkPage && m_hotspots[i].object == page)
            return static_cast<int32_t>(i);
    }
    return -1;
}

// ------------------------------------------------------------------------------------------------- rebuild

void TframeTimeline::Rebuild()
{
    timer->stop();
    m_fillTimer->stop();
    m_pending.clear();
    m_scrollOffset = 0;
    m_scrollStep = 0;
    m_hotspots.clear();
    m_selected = -1;
    m_hovered = -1;
    const std::vector<evCategory*> pages = StripPages();
    const int n = static_cast<int>(pages.size());
    m_stripWidth = n > 0 ? n * kThumbWidth + (n - 1) * kThumbGap : 0;
    const int bitmapWidth = std::max(m_stripWidth, 1);
    m_content = Bitmap(bitmapWidth, kStripHeight);
    m_mask = Bitmap(bitmapWidth, kStripHeight);
    Canvas& content = m_content.GetCanvas();
    content.SetBrushStyle(BrushStyle::Solid);
    content.SetBrushColor(kColorBlack);
    content.FillRect(Rect(0, 0, bitmapWidth, kStripHeight));
    DrawThumbnails(pages);
    const bool arrows = imgBg->width() - 2 * kMargin < m_stripWidth;
    imgScrollLeft->setVisible(arrows);
    imgScrollRight->setVisible(arrows);
}

// The shown pages from left to right: a category with sub-categories first, then its included children;
// otherwise the category and its included following siblings.
std::vector<evCategory*> TframeTimeline::StripPages() const
{
    std::vector<evCategory*> pages;
    if (!m_category)
        return pages;
    evCategory* node = m_category;
    if (m_category->HasSub()) {
        pages.push_back(m_category);
        node = m_category->GetSub();
    }
    for (; node; node = node->GetNext()) {
        if (node->IsIncluded())
            pages.push_back(node);
    }
    return pages;
}

// From the last thumbnail to the first, as the hotspots are listed; the stepped-into category sits a little
// higher at the left with its "<<" box.
void TframeTimeline::DrawThumbnails(const std::vector<evCategory*>& pages)
{
    const int n = static_cast<int>(pages.size());
    const bool steppedIn = m_category && m_category->HasSub();
    for (int i = n - 1; i >= 0; --i) {
        evCategory* node = pages[static_cast<size_t>(i)];
        const bool isCategory = steppedIn && i == 0;
        Flags flags;
        flags.line = i > 0;
        flags.stepUp = isCategory;
        flags.pagesBelow = PageOrder::CountIncluded(node, true);
        DrawThumbnail(node, (kThumbWidth + kThumbGap) * i, isCategory ? kParentTop : kRowTop, flags);
    }
    // Left to right, as they are filled in.
    std::reverse(m_pending.begin(), m_pending.end());
}

void TframeTimeline::DrawThumbnail(evCategory* node, int x, int y, const Flags& flags)
{
    if (flags.line)
        DrawConnection(x, y);
    DrawPreview(node, x, y);
    AddHotspot(Rect(x, y, x + kPreviewWidth, y + kPreviewHeight), hkPage, node);
    MaskRect(Rect(x, y, x + kPreviewWidth, y + kPreviewHeight));
    DrawMarkers(node, x, y);
    const int markerLeft = x + kMarkerLeft;
    AddHotspot(Rect(markerLeft, y, markerLeft + kMarkerSize, y + kMarkerSize), hkLayout, node);
    AddHotspot(Rect(markerLeft, y + 17, markerLeft + kMarkerSize, y + 17 + kMarkerSize), hkPictures, node);
    AddHotspot(Rect(markerLeft, y + 34, markerLeft + kMarkerSize, y + 34 + kMarkerSize), hkTexts, node);
    MaskRect(Rect(markerLeft, y, markerLeft + kMarkerSize, y + 34 + kMarkerSize));
    // Only an optional page can be switched off; a mandatory one would stay in the album whatever its flag.
    if (node->GetKind() == 3 && node->GetOptional()) {
        DrawSwitchOff(x, y);
        AddHotspot(Rect(markerLeft, y + 61, markerLeft + kMarkerSize, y + 75), hkSwitchOff, node);
    }
    if (flags.stepUp) {
        DrawStepUp(x, y);
        AddHotspot(Rect(x, y - 16, x + 27, y - 2), hkStepUp, node);
    }
    if (flags.pagesBelow > 0)
        AddHotspot(DrawStepIn(x, y, flags.pagesBelow), hkStepIn, node);
}

// A grey link from the right edge of the left neighbour to the middle of this thumbnail's left edge.
void TframeTimeline::DrawConnection(int x, int y)
{
    const int lineY = y + kPreviewHeight / 2;
    for (Bitmap* bitmap : {&m_content, &m_mask}) {
        Canvas& canvas = bitmap->GetCanvas();
        canvas.SetBrushStyle(BrushStyle::Solid);
        canvas.SetBrushColor(bitmap == &m_content ? kLineGrey : kColorBlack);
        canvas.FillRect(Rect(x - kThumbGap, lineY - 1, x, lineY + 1));
    }
}

// A thumbnail the page keeps is drawn at once; one that must be rendered is left black and put on the list of
// pending thumbnails, which are drawn when they come into the window or, for the rest, while the program waits.
void TframeTimeline::DrawPreview(evCategory* node, int x, int y)
{
    const TRect rect = Rect(x, y, x + kPreviewWidth, y + kPreviewHeight);
    Canvas& canvas = m_content.GetCanvas();
    canvas.SetBrushStyle(BrushStyle::Solid);
    canvas.SetBrushColor(kColorBlack);
    canvas.FillRect(rect);
    const CategoryPreview& preview = node->GetPreview();
    if (preview.Thumbnail(kPreviewWidth, kPreviewHeight) || preview.ThumbnailFailed())
        DrawRenderedPreview(node, x, y);
    else
        m_pending.push_back(Pending{node, x, y});
    DrawPreviewFrame(rect);
}

// Renders the pending thumbnails, while worker threads decode the photographs of the next few at thumbnail size
// (rendering itself is not shared between threads).
void TframeTimeline::DrawPending(const std::vector<Pending>& pending)
{
    if (pending.empty())
        return;
    const int workers = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    PreparedPictures prepared(workers);
    const int n = static_cast<int>(pending.size());
    const int ahead = workers + 1;
    int nextToPrepare = 0;
    for (int i = 0; i < n; ++i) {
        for (; nextToPrepare < n && nextToPrepare <= i + ahead; ++nextToPrepare)
            prepared.PrepareThumbnail(nextToPrepare, *pending[static_cast<size_t>(nextToPrepare)].node, kPreviewWidth,
                                      kPreviewHeight);
        const Pending& p = pending[static_cast<size_t>(i)];
        {
            const PreparedPictures::Scope scope(prepared, i);
            DrawRenderedPreview(p.node, p.x, p.y);
        }
        DrawPreviewFrame(Rect(p.x, p.y, p.x + kPreviewWidth, p.y + kPreviewHeight));
        prepared.Discard(i);
    }
    auto drawn = [&pending](const Pending& p) {
        return std::any_of(pending.begin(), pending.end(), [&p](const Pending& d) { return d.node == p.node; });
    };
    m_pending.erase(std::remove_if(m_pending.begin(), m_pending.end(), drawn), m_pending.end());
}

void TframeTimeline::DrawPendingInWindow()
{
    std::vector<Pending> visible;
    for (const Pending& p : m_pending) {
        if (p.x + kPreviewWidth > m_scrollOffset && p.x < m_scrollOffset + WindowWidth() - 2 * kMargin)
            visible.push_back(p);
    }
    DrawPending(visible);
}

void TframeTimeline::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!m_pending.empty())
        m_fillTimer->start();
}

// A few at a time, so the program stays responsive; the composed window is shown after each few.
void TframeTimeline::FillPendingThumbnails()
{
    if (!isVisible())
        return;
    const size_t batch = std::max(1u, std::thread::hardware_concurrency()) + 1;
    DrawPending(std::vector<Pending>(m_pending.begin(), m_pending.begin() + std::min(batch, m_pending.size())));
    Compose();
}

void TframeTimeline::DrawRenderedPreview(evCategory* node, int x, int y)
{
    const TRect rect = Rect(x, y, x + kPreviewWidth, y + kPreviewHeight);
    Canvas& canvas = m_content.GetCanvas();
    if (!node->DrawThumbnail(rect, canvas)) {
        try {
            canvas.StretchDraw(rect, SkinPicture(Skin::MissingThumbnail).Decode());
        } catch (const EVelloraError& e) {
            ktLogs::LogLine(std::string("Timeline without the missing-thumbnail picture: ") + e.what());
        }
        ReleaseSkinImage();
    }
}

void TframeTimeline::DrawPreviewFrame(const TRect& rect)
{
    Canvas& canvas = m_content.GetCanvas();
    canvas.SetPenStyle(PenStyle::Solid);
    canvas.SetPenWidth(1);
    canvas.SetPenColor(kColorBlack);
    canvas.SetBrushStyle(BrushStyle::Clear);
    canvas.Rectangle(rect);
}

void TframeTimeline::DrawMarkers(evCategory* node, int x, int y)
{
    const int32_t bits = DisplayedCompleteness(*node);
    const int left = x + kMarkerLeft;
    DrawBox(Rect(left, y, left + kMarkerSize, y + kMarkerSize), MarkerColour(bits, cbLayoutSet, cbNotKind3),
            kColorBlack, "L", kColorBlack);
    DrawBox(Rect(left, y + 17, left + kMarkerSize, y + 17 + kMarkerSize),
            MarkerColour(bits, cbPicturesFilled, cbNoPictures), kColorBlack, "P", kColorBlack);
    DrawBox(Rect(left, y + 34, left + kMarkerSize, y + 34 + kMarkerSize), MarkerColour(bits, cbTextsFilled, cbNoTexts),
            kColorBlack, "T", kColorBlack);
}

void TframeTimeline::DrawSwitchOff(int x, int y)
{
    const int left = x + kMarkerLeft;
    DrawBox(Rect(left, y + 61, left + kMarkerSize, y + 75), kColorBlack, kColorWhite, "X", kColorWhite);
    MaskRect(Rect(left, y + 61, left + kMarkerSize, y + 75));
}

void TframeTimeline::DrawStepUp(int x, int y)
{
    const TRect box = Rect(x, y - 16, x + 27, y - 2);
    DrawBox(box, kBoxGreen, kColorWhite, nullptr, kColorWhite);
    Canvas& canvas = m_content.GetCanvas();
    canvas.SetBrushStyle(BrushStyle::Clear);
    canvas.SetFont(MarkerFont(kColorWhite));
    canvas.TextOut(x + 5, y - 16, "<<");
    MaskRect(box);
}

TRect TframeTimeline::DrawStepIn(int x, int y, int32_t pagesBelow)
{
    const std::string text = "+" + std::to_string(pagesBelow);
    Canvas& canvas = m_content.GetCanvas();
    canvas.SetFont(MarkerFont(kColorWhite));
    const TRect box = Rect(x + 70, y + 77, x + 77 + canvas.TextWidth(text), y + 91);
    for (Bitmap* bitmap : {&m_content, &m_mask}) {
        Canvas& target = bitmap->GetCanvas();
        target.SetBrushStyle(BrushStyle::Solid);
        target.SetBrushColor(bitmap == &m_content ? kLineGrey : kColorBlack);
        target.FillRect(Rect(x + 50, y + kPreviewHeight, x + 52, y + 85));
        target.FillRect(Rect(x + 50, y + 83, x + 70, y + 85));
    }
    DrawBox(box, kBoxGreen, kColorWhite, nullptr, kColorWhite);
    canvas.SetBrushStyle(BrushStyle::Clear);
    canvas.TextOut(x + 74, y + 77, text);
    MaskRect(box);
    return box;
}

// A filled box with a one-pixel frame and, when given, a bold letter in its middle.
void TframeTimeline::DrawBox(const TRect& box, TColor fill, TColor frame, const char* text, TColor textColour)
{
    Canvas& canvas = m_content.GetCanvas();
    canvas.SetPenStyle(PenStyle::Solid);
    canvas.SetPenWidth(1);
    canvas.SetPenColor(frame);
    canvas.SetBrushStyle(BrushStyle::Solid);
    canvas.SetBrushColor(fill);
    canvas.Rectangle(box);
    if (!text)
        return;
    canvas.SetBrushStyle(BrushStyle::Clear);
    canvas.SetFont(MarkerFont(textColour));
    const int textX = box.Left + (box.Width() - canvas.TextWidth(text)) / 2;
    const int textY = box.Top + (box.Height() - canvas.TextHeight(text)) / 2;
    canvas.TextOut(textX, textY, text);
}

void TframeTimeline::MaskRect(const TRect& rect)
{
    Canvas& canvas = m_mask.GetCanvas();
    canvas.SetBrushStyle(BrushStyle::Solid);
    canvas.SetBrushColor(kColorBlack);
    canvas.FillRect(rect);
}

void TframeTimeline::AddHotspot(const TRect& rect, uint8_t kind, evCategory* object)
{
    m_hotspots.push_back({rect.Left, rect.Top, rect.Right, rect.Bottom, kind, object});
}

int32_t TframeTimeline::DisplayedCompleteness(const evCategory& node)
{
    int32_t bits = GetCompleteness(node);
    for (const PreflightFinding& gap : CheckPageContent(node, std::string())) {
        if (gap.kind == PreflightKind::TemplateText)
            bits &= ~cbTextsFilled;
        else if (gap.kind == PreflightKind::EmptyCollection)
            bits &= ~cbPicturesFilled;
    }
    return bits;
}

TColor TframeTimeline::MarkerColour(int32_t completeness, int32_t doneBit, int32_t notNeededBit)
{
    if (completeness & doneBit)
        return kMarkerDone;
    if (completeness & notNeededBit)
        return kMarkerNotNeeded;
    return kMarkerMissing;
}

// ------------------------------------------------------------------------------------------------- compose

void TframeTimeline::Compose()
{
    DrawPendingInWindow();
    if (!m_pending.empty())
        m_fillTimer->start();
    Canvas& back = m_backBuffer.GetCanvas();
    back.SetBrushStyle(BrushStyle::Solid);
    back.SetBrushColor(kColorBlack);
    back.FillRect(Rect(0, 0, m_backBuffer.Width(), m_backBuffer.Height()));
    if (imgBg->HasPicture())
        back.Draw(0, 0, Bitmap(imgBg->Picture()));
    if (m_stripWidth > 0) {
        const int width = WindowWidth() - 2 * kMargin;
        back.BitBlt(kMargin, 0, width, kStripHeight, m_mask, m_scrollOffset, 0, RasterOp::SrcAnd);
        back.BitBlt(kMargin, 0, width, kStripHeight, m_content, m_scrollOffset, 0, RasterOp::SrcPaint);
    }
    QImage display = m_backBuffer.ToQImage();
    DrawSelection(display);
    imgTimeline->SetPicture(display);
}

// The yellow frame round the selected thumbnail, only where it lies inside the window between the margins.
void TframeTimeline::DrawSelection(QImage& display) const
{
    if (m_selected < 0 || m_selected >= static_cast<int32_t>(m_hotspots.size()))
        return;
    const Hotspot& spot = m_hotspots[static_cast<size_t>(m_selected)];
    const int left = spot.left + kMargin - m_scrollOffset;
    const int right = left + kPreviewWidth - 1;
    const int top = spot.top;
    const int bottom = top + kPreviewHeight - 1;
    const int clipLeft = kMargin;
    const int clipRight = std::min(WindowWidth() - kMargin, display.width()) - 1;
    const QRgb yellow = ToQColor(kFrameYellow).rgb();
    for (int x = std::max(left, clipLeft); x <= std::min(right, clipRight); ++x) {
        display.setPixel(x, top, yellow);
        display.setPixel(x, bottom, yellow);
    }
    for (int x : {left, right}) {
        if (x < clipLeft || x > clipRight)
            continue;
        for (int y = top; y <= bottom; ++y)
            display.setPixel(x, y, yellow);
    }
}

// Composing draws the frame anew from the back buffer, which holds the black frames of every thumbnail, so
// the previously selected thumbnail gets its black frame back.
void TframeTimeline::MoveFrameTo(int32_t index)
{
    m_selected = index;
    Compose();
}

void TframeTimeline::ShowPath(const evCategory* node)
{
    labelCategoryTitle->SetCaption(DoubleAmpersands(PathOf(node)));
}

QString TframeTimeline::PathOf(const evCategory* node)
{
    if (!node)
        return QString();
    QString path = ToDisplay(node->GetTitle());
    for (const evCategory* parent = node->GetEffectiveParent(); parent; parent = parent->GetEffectiveParent())
        path = ToDisplay(parent->GetTitle()) + " -> " + path;
    return path;
}

// ------------------------------------------------------------------------------------------------- mouse

int32_t TframeTimeline::WindowWidth() const { return imgTimeline->width(); }

bool TframeTimeline::InWindow(int x) const { return x > kMargin && x < WindowWidth() - kMargin; }

// The margins hide the strip, so nothing under them counts as hovered.
int32_t TframeTimeline::HotspotAt(int x, int y) const
{
    if (!InWindow(x))
        return -1;
    const int stripX = x - kMargin;
    for (size_t i = 0; i < m_hotspots.size(); ++i) {
        const Hotspot& spot = m_hotspots[i];
        if (spot.left - m_scrollOffset <= stripX && stripX <= spot.right - m_scrollOffset - 1 && spot.top <= y &&
            y <= spot.bottom - 1)
            return static_cast<int32_t>(i);
    }
    return -1;
}

void TframeTimeline::imgTimelineMouseMove(int x, int y)
{
    m_hovered = HotspotAt(x, y);
    if (m_hovered < 0) {
        ShowPath(m_currentPage);
        imgTimeline->setCursor(Qt::ArrowCursor);
        return;
    }
    const Hotspot& spot = m_hotspots[static_cast<size_t>(m_hovered)];
    ShowPath(spot.object);
    const int32_t hint = kHotspotHints[spot.kind];
    if (hint >= 0) {
        if (ITimelineHost* host = Host())
            host->ShowHint(hint);
    }
    imgTimeline->setCursor(Qt::PointingHandCursor);
}

void TframeTimeline::imgTimelineMouseDown(int x, int y)
{
    if (!InWindow(x))
        return;
    m_hovered = HotspotAt(x, y);
    if (m_hovered < 0 || !m_hotspots[static_cast<size_t>(m_hovered)].object)
        return;
    const Hotspot spot = m_hotspots[static_cast<size_t>(m_hovered)];
    switch (spot.kind) {
    case hkStepIn: {
        if (!spot.object->HasSub())
            return;
        HourglassCursor hourglass;
        SetPosition(spot.object, spot.object, true);
        break;
    }
    case hkStepUp: {
        evCategory* parent = spot.object->GetEffectiveParent();
        SetPosition(parent, spot.object, false);
        MoveFrameTo(ThumbnailOf(spot.object));
        break;
    }
    case hkPage:
        m_currentPage = spot.object;
        MoveFrameTo(m_hovered);
        break;
    case hkSwitchOff: SwitchOff(spot.object); return;
    default: return;
    }
    NotifyPageChanged();
}

void TframeTimeline::SwitchOff(evCategory* object)
{
    TyesNoPopup* question = Screens().yesNoPopup.get();
    if (!question || !question->Run(HelpText(Help::ConfirmSwitchOffPage)))
        return;
    SwitchOffSubtree(object);
    if (object == m_category) {
        evCategory* parent = object->GetEffectiveParent();
        SetPosition(parent, parent, true);
    } else {
        SetPosition(m_category, m_category, true);
    }
    NotifyPageChanged();
}

ITimelineHost* TframeTimeline::Host() const { return dynamic_cast<ITimelineHost*>(PanelView::HostWindow(this)); }

void TframeTimeline::NotifyPageChanged()
{
    if (ITimelineHost* host = Host())
        host->PageChanged();
}

// ----------------------------------------------------------------------------------------------- scrolling

void TframeTimeline::imgScrollLeftMouseDown()
{
    if (m_scrollOffset > 0)
        StartScrolling(-kScrollStep);
}

void TframeTimeline::imgScrollRightMouseDown()
{
    if (m_stripWidth + 2 * kMargin - m_scrollOffset >= imgBg->width())
        StartScrolling(kScrollStep);
}

// Releasing an arrow also forgets the direction, so that no later compose moves the strip.
void TframeTimeline::imgScrollMouseUp()
{
    timer->stop();
    m_scrollStep = 0;
}

void TframeTimeline::StartScrolling(int32_t step)
{
    m_scrollStep = step;
    timerTimer();
    if (m_scrollStep != 0)
        timer->start();
}

// One tick moves the window by the step; it never moves before the strip's start or beyond its end.
void TframeTimeline::timerTimer()
{
    const int32_t window = imgBg->width() - 2 * kMargin;
    const bool canMove =
        m_scrollStep < 0 ? m_scrollOffset >= 1 : m_scrollStep > 0 && m_stripWidth - m_scrollOffset > window;
    if (!canMove) {
        timer->stop();
        m_scrollStep = 0;
        return;
    }
    m_scrollOffset = std::clamp(m_scrollOffset + m_scrollStep, 0, std::max(m_scrollOffset, m_stripWidth - window));
    Compose();
}
