#include "model/evProjectorPage.h"

#include "model/ViewerControl.h"
#include "model/ViewerSupport.h"
#include "model/evFade.h"
#include "model/evObjectCollection.h"
#include "model/evProjectorMouseAction.h"
#include "model/evProjectorNaviAction.h"
#include "model/evProjectorPageElement.h"
#include "model/evProjectorSliderElement.h"
#include "platform/Canvas.h"
#include "platform/Clock.h"
#include "platform/Errors.h"
#include "platform/Stream.h"

namespace {
Bitmap CopyArea(const Bitmap& source, const TRect& area)
{
    Bitmap copy(area.Width(), area.Height());
    copy.GetCanvas().CopyRect(TRect{0, 0, area.Width(), area.Height()}, source, area);
    return copy;
}
} // namespace

evProjectorPage::evProjectorPage()
    : m_elements(std::make_unique<evObjectCollection>()), m_mouseActions(std::make_unique<evObjectCollection>()),
      m_naviActions(std::make_unique<evObjectCollection>())
{}

// Layout after the evObject header:
//   collection elements, collection mouse actions, collection navigation actions,
//   int32 page type, int32 slide interval
evProjectorPage::evProjectorPage(Stream& stream, ProgressBar* progress) : evObject(stream, progress)
{
    m_elements = std::make_unique<evObjectCollection>(stream, progress);
    m_mouseActions = std::make_unique<evObjectCollection>(stream, progress);
    m_naviActions = std::make_unique<evObjectCollection>(stream, progress);
    m_pageType = stream.ReadInt32();
    m_slideInterval = stream.ReadInt32();
}

evProjectorPage::~evProjectorPage() { StopViewing(); }

void evProjectorPage::SaveToStream(Stream& stream) const
{
    evObject::SaveToStream(stream);
    // A collection reports a refused write as false; the page passes it on as the stream's write error.
    if (!m_elements->SaveToStream(stream) || !m_mouseActions->SaveToStream(stream) ||
        !m_naviActions->SaveToStream(stream))
        stream.RaiseWriteFailure();
    stream.WriteInt32(m_pageType);
    stream.WriteInt32(m_slideInterval);
}

std::string evProjectorPage::ToString() const
{
    return "evProjectorPage[" + m_elements->ToString() + ", " + m_mouseActions->ToString() + ", " +
           m_naviActions->ToString() + "]";
}

int32_t evProjectorPage::AddElement(std::unique_ptr<evProjectorPageElement> element)
{
    return m_elements->Add(std::move(element));
}

int32_t evProjectorPage::AddMouseAction(std::unique_ptr<evProjectorMouseAction> action)
{
    return m_mouseActions->Add(std::move(action));
}

int32_t evProjectorPage::AddNaviAction(std::unique_ptr<evProjectorNaviAction> action)
{
    return m_naviActions->Add(std::move(action));
}

evProjectorPageElement* evProjectorPage::ElementAt(int32_t index) const
{
    if (index < 0 || index >= m_elements->Count())
        return nullptr;
    return m_elements->GetItemAs<evProjectorPageElement>(index);
}

bool evProjectorPage::IsSoundOn() const { return m_callbacks.isSoundOn && m_callbacks.isSoundOn(); }

void evProjectorPage::Start(ViewerControl& control, const ViewerOverlay* overlay, ViewerCallbacks callbacks)
{
    if (m_control != &control)
        StopViewing();
    m_control = &control;
    m_callbacks = std::move(callbacks);
    m_firstDrawing = true;
    evFade::Allow();
    m_shownIndex = -1;
    m_hoverIndex = -1;
    m_currentNavi = nullptr;
    m_hoverAction = nullptr;
    control.SetCursor(ViewerCursor::Default);
    SetOverlay(overlay);
    if (IsSlideShow()) {
        m_lastSlideChange = Clock::MillisecondsOfDay();
        m_slideCount = CountSlides();
        if (m_currentSlide >= m_slideCount)
            m_currentSlide = 0;
        if (!m_slideTimer)
            m_slideTimer = control.CreateTimer(kSlideTimerMs, [this] { SlideTick(); });
        m_slideTimer->SetEnabled(true);
    }
    RenderOnControl();
}

// The overlay's navigation action is added once for the page, however often it is rendered or started.
void evProjectorPage::SetOverlay(const ViewerOverlay* overlay)
{
    if (!overlay) {
        m_overlay.reset();
        const int32_t index = m_overlayAction ? m_naviActions->IndexOf(m_overlayAction) : -1;
        if (index >= 0)
            m_naviActions->Delete(index);
        m_overlayAction = nullptr;
        return;
    }
    m_overlay = *overlay;
    if (m_overlayAction)
        return;
    const int64_t x = overlay->position.X;
    const int64_t y = overlay->position.Y;
    const TRect area = ClampedRect(x, y, x + overlay->picture.Width(), y + overlay->picture.Height());
    auto action = std::make_unique<evProjectorNaviAction>(area, kTargetNone);
    m_overlayAction = action.get();
    AddNaviAction(std::move(action));
}

int32_t evProjectorPage::CountSlides() const
{
    int32_t count = 0;
    for (int32_t i = 0; i < m_elements->Count(); ++i) {
        const evProjectorPageElement* element = ElementAt(i);
        if (element && element->GetKind() == 3 && !dynamic_cast<const evProjectorSliderElement*>(element))
            ++count;
    }
    return count;
}

void evProjectorPage::StopViewing()
{
    if (!m_control)
        return;
    m_slideTimer.reset();
    for (int32_t i = 0; i < m_elements->Count(); ++i) {
        if (auto* slider = m_elements->GetItemAs<evProjectorSliderElement>(i))
            slider->Detach();
    }
    evFade::Stop();
    m_control = nullptr;
    m_callbacks = ViewerCallbacks();
    m_currentNavi = nullptr;
    m_hoverAction = nullptr;
    m_previousSlide = nullptr;
}

void evProjectorPage::RenderOnControl()
{
    if (m_control)
        Render(m_control->Picture().GetCanvas());
}

void evProjectorPage::Render(Canvas& canvas)
{
    // The slide show's bitmap starts as what the control shows, so that whatever the page leaves uncovered
    // looks as it does on other pages.
    std::unique_ptr<Bitmap> buffer;
    if (IsSlideShow() && m_control)
        buffer = std::make_unique<Bitmap>(m_control->Picture());
    Canvas& target = buffer ? buffer->GetCanvas() : canvas;
    const evProjectorPageElement* slide = DrawElements(target);
    DrawShownElement(target);
    if (buffer)
        PresentSlide(canvas, *buffer, slide);
    DrawOverlay(canvas);
    RefreshHighlight(canvas);
    m_firstDrawing = false;
    if (m_control)
        m_control->Changed();
}

// Draws what each kind asks for and returns the slide drawn (none on other pages or without slides).
const evProjectorPageElement* evProjectorPage::DrawElements(Canvas& target)
{
    const bool soundOn = IsSoundOn();
    const evProjectorPageElement* slide = nullptr;
    int32_t slideOrdinal = 0;
    for (int32_t i = 0; i < m_elements->Count(); ++i) {
        evProjectorPageElement* element = ElementAt(i);
        if (!element)
            continue;
        if (auto* slider = dynamic_cast<evProjectorSliderElement*>(element)) {
            if (m_control)
                slider->Show(*m_control, target);
            else
                DrawElementSafely(*slider, target);
            continue;
        }
        const int32_t kind = element->GetKind();
        if (kind == 0 || (kind == 4 && soundOn) || (kind == 5 && !soundOn))
            DrawElementSafely(*element, target);
        else if (kind == 1 && (i == m_hoverIndex || (m_shownIndex == -1 && m_hoverIndex == -1)))
            m_shownIndex = i;
        else if (kind == 3 && IsSlideShow() && slideOrdinal++ == m_currentSlide) {
            DrawElementSafely(*element, target);
            slide = element;
        }
    }
    return slide;
}

void evProjectorPage::DrawShownElement(Canvas& target) const
{
    if (const evProjectorPageElement* shown = ElementAt(m_shownIndex))
        DrawElementSafely(*shown, target);
}

// The first drawing shows the whole page. Later the control keeps what it shows where the slides are (the old
// slide, or a fade still under way), takes the rest of the page as drawn now, and the new slide fades in over
// the union of the old and the new slide's rectangles.
void evProjectorPage::PresentSlide(Canvas& canvas, const Bitmap& page, const evProjectorPageElement* slide)
{
    const evProjectorPageElement* previous = m_previousSlide;
    m_previousSlide = slide;
    TRect area;
    if (slide && previous)
        area = UnionRect(ElementArea(*slide), ElementArea(*previous));
    else if (slide || previous)
        area = ElementArea(slide ? *slide : *previous);
    area = IntersectRect(area, TRect{0, 0, page.Width(), page.Height()});
    if (m_firstDrawing || IsEmptyRect(area)) {
        canvas.Draw(0, 0, page);
        return;
    }
    const Bitmap kept = CopyArea(canvas.Target(), area);
    canvas.Draw(0, 0, page);
    canvas.Draw(area.Left, area.Top, kept);
    if (slide == previous)
        return;
    const Bitmap next = CopyArea(page, area);
    evFade::Allow();
    if (!evFade::Start(*m_control, area.Left, area.Top, next, kFadeDuration))
        canvas.Draw(area.Left, area.Top, next);
}

void evProjectorPage::DrawOverlay(Canvas& canvas) const
{
    if (m_overlay)
        canvas.Draw(m_overlay->position.X, m_overlay->position.Y, m_overlay->picture);
}

// A rendering paints over the highlight under the pointer; it comes back unless its button is no longer the
// visible one (the sound changed).
void evProjectorPage::RefreshHighlight(Canvas& canvas)
{
    if (!m_hoverAction)
        return;
    if (!IsActionVisible(*m_hoverAction)) {
        m_hoverAction = nullptr;
        return;
    }
    if (const evProjectorPageElement* highlight = ElementAt(m_hoverAction->GetFirstElement()))
        DrawElementSafely(*highlight, canvas);
}

void evProjectorPage::SlideTick()
{
    if (!m_control || !m_slideTimer)
        return;
    m_slideTimer->SetEnabled(false);
    const int64_t now = Clock::MillisecondsOfDay();
    if (now < m_lastSlideChange)
        m_lastSlideChange -= Clock::kDayMilliseconds;
    if (m_lastSlideChange + m_slideInterval < now) {
        m_lastSlideChange = now;
        ++m_currentSlide;
        if (m_currentSlide >= m_slideCount)
            m_currentSlide = 0;
        RenderOnControl();
    }
    m_slideTimer->SetEnabled(true);
}

evProjectorNaviAction* evProjectorPage::FindNaviAction(int32_t x, int32_t y) const
{
    for (int32_t i = 0; i < m_naviActions->Count(); ++i) {
        auto* action = m_naviActions->GetItemAs<evProjectorNaviAction>(i);
        if (action && ContainsPoint(action->GetRect(), x, y))
            return action;
    }
    return nullptr;
}

// The sound button lays two highlight actions over one rectangle, one for each of its looks (kind 5: sound off,
// kind 4: sound on). The search passes over an action whose highlight belongs to the look that is hidden, so
// the hover always shows the highlight of the button that is visible, whatever order the actions have.
bool evProjectorPage::IsActionVisible(const evProjectorMouseAction& action) const
{
    if (action.GetType() == 0 || action.GetType() == 2)
        return true;
    const evProjectorPageElement* highlight = ElementAt(action.GetFirstElement());
    if (!highlight)
        return true;
    return highlight->GetKind() != (IsSoundOn() ? 5 : 4);
}

evProjectorMouseAction* evProjectorPage::FindMouseAction(int32_t x, int32_t y) const
{
    for (int32_t i = 0; i < m_mouseActions->Count(); ++i) {
        auto* action = m_mouseActions->GetItemAs<evProjectorMouseAction>(i);
        if (action && ContainsPoint(action->GetRect(), x, y) && IsActionVisible(*action))
            return action;
    }
    return nullptr;
}

void evProjectorPage::MouseMove(int32_t x, int32_t y)
{
    if (!m_control)
        return;
    m_currentNavi = FindNaviAction(x, y);
    evProjectorMouseAction* action = FindMouseAction(x, y);
    if (!action) {
        m_control->SetCursor(ViewerCursor::Default);
        LeaveHoverAction();
        SetHoverIndex(-1);
        return;
    }
    m_control->SetCursor(ViewerCursor::HandPoint);
    if (action->GetType() == 0) {
        LeaveHoverAction();
        SetHoverIndex(action->GetFirstElement());
        return;
    }
    if (action->GetType() == 2 || action == m_hoverAction) {
        if (action != m_hoverAction)
            LeaveHoverAction();
        return;
    }
    LeaveHoverAction();
    DrawOnControl(action->GetFirstElement());
    m_hoverAction = action;
}

// A new hover image shows at once: the page is drawn again when the hover names another element than the one
// shown. Leaving keeps the last hover image (it stays the shown element).
void evProjectorPage::SetHoverIndex(int32_t index)
{
    const int32_t previous = m_hoverIndex;
    m_hoverIndex = index;
    if (index != previous && index != -1 && index != m_shownIndex)
        RenderOnControl();
}

void evProjectorPage::LeaveHoverAction()
{
    if (!m_hoverAction)
        return;
    const int32_t plain = m_hoverAction->GetSecondElement();
    m_hoverAction = nullptr;
    DrawOnControl(plain);
}

void evProjectorPage::DrawOnControl(int32_t elementIndex)
{
    const evProjectorPageElement* element = ElementAt(elementIndex);
    if (!element || !m_control)
        return;
    DrawElementSafely(*element, m_control->Picture().GetCanvas());
    m_control->Changed();
}

void evProjectorPage::Click()
{
    if (!m_control)
        return;
    const TPoint pointer = m_control->PointerPosition();
    MouseMove(pointer.X, pointer.Y);
    if (!m_currentNavi)
        return;
    const int32_t target = m_currentNavi->GetTarget();
    if (target == kTargetSound) {
        const auto toggleSound = m_callbacks.toggleSound;
        if (toggleSound)
            toggleSound();
        // The button under the pointer changed its look: render, then find the highlight of the new look.
        m_hoverAction = nullptr;
        RenderOnControl();
        MouseMove(pointer.X, pointer.Y);
        return;
    }
    // Leaving the page with a hover image up: the control is cleared before the host shows what comes next.
    if (m_hoverIndex != -1) {
        m_control->Picture().GetCanvas().Draw(0, 0, Bitmap(m_control->Width(), m_control->Height()));
        m_control->Changed();
    }
    // The host may free this page while it goes to the target; nothing of the page is used afterwards.
    const auto goToTarget = m_callbacks.goToTarget;
    if (goToTarget)
        goToTarget(target);
}
