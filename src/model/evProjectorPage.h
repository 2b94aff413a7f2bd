#pragma once
// A page of the presentation: pre-rendered images with the areas that react to the pointer and to clicks.
// Inside the program and in the player the page is also its own viewer (Start, Render, MouseMove, Click).
//
// Body on the stream (version 0), after the evObject header (int32 version, int32 identifier):
//   collection  elements            evProjectorPageElement and subclasses, in drawing order
//   collection  mouse actions       evProjectorMouseAction
//   collection  navigation actions  evProjectorNaviAction
//   int32       page type           0 = normal page, 1 = slide show
//   int32       slide interval      milliseconds between slides
//
// Actions refer to elements by their index in the element collection. Indexes and targets come from a file
// and may be anything: an index that names no element draws nothing, a target is the host's to check.

#include "model/evObject.h"
#include "platform/Bitmap.h"
#include "platform/Geometry.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class Canvas;
class evObjectCollection;
class evProjectorPageElement;
class evProjectorMouseAction;
class evProjectorNaviAction;
class ViewerControl;
class ViewerTimer;

// What the host of a viewed page decides. Target -2 never reaches goToTarget: the page toggles the sound
// itself. goToTarget may replace or free the page; the page touches nothing of itself after calling it.
struct ViewerCallbacks {
    std::function<void(int32_t target)> goToTarget;
    std::function<void()> toggleSound;
    std::function<bool()> isSoundOn;
};

// A control of the host laid over the page (the preview's close button): its picture is drawn on the page at
// its position, and a click on it leads to target -1.
struct ViewerOverlay {
    Bitmap picture;
    TPoint position;
};

class evProjectorPage : public evObject {
    EV_DECLARE_CLASS(evProjectorPage, evObject)

    static constexpr int kSlideTimerMs = 100;
    static constexpr int32_t kFadeDuration = 1000;
    static constexpr int32_t kTargetSound = -2;
    static constexpr int32_t kTargetNone = -1;

    evProjectorPage();
    evProjectorPage(Stream& stream, ProgressBar* progress);
    // A page that is being viewed stops its timers and the cross-fades (evFade::Stop).
    ~evProjectorPage() override;

    static constexpr int32_t kVersion = 0;
    int32_t GetVersion() const override { return kVersion; }
    void SaveToStream(Stream& stream) const override;
    std::string ToString() const override;

    // Each returns the index of the appended member.
    int32_t AddElement(std::unique_ptr<evProjectorPageElement> element);
    int32_t AddMouseAction(std::unique_ptr<evProjectorMouseAction> action);
    int32_t AddNaviAction(std::unique_ptr<evProjectorNaviAction> action);

    evObjectCollection& GetElements() { return *m_elements; }
    evObjectCollection& GetMouseActions() { return *m_mouseActions; }
    evObjectCollection& GetNaviActions() { return *m_naviActions; }
    const evObjectCollection& GetElements() const { return *m_elements; }
    const evObjectCollection& GetMouseActions() const { return *m_mouseActions; }
    const evObjectCollection& GetNaviActions() const { return *m_naviActions; }

    void SetPageType(int32_t pageType) { m_pageType = pageType; }
    int32_t GetPageType() const { return m_pageType; }
    void SetSlideInterval(int32_t interval) { m_slideInterval = interval; }
    int32_t GetSlideInterval() const { return m_slideInterval; }

    // --- The viewer. The host forwards the pointer's moves and clicks on the control to MouseMove and Click.

    // Shows the page on the control: fades allowed, no hover, default cursor, rendered into the control's
    // picture; a slide-show page starts its 100 ms slide timer. The overlay (may be none) is copied.
    void Start(ViewerControl& control, const ViewerOverlay* overlay, ViewerCallbacks callbacks);
    // The host shows another page on the control: timers stop, film strips let the control go, fades stop.
    void StopViewing();
    bool IsViewing() const { return m_control != nullptr; }

    // Draws the page into the canvas (the control's, when viewed). A slide-show page is drawn into a bitmap of
    // the control's size first and its new slide is cross-faded in.
    void Render(Canvas& canvas);
    // Pointer at (x, y) of the control: navigation action, hover image, highlight and cursor.
    void MouseMove(int32_t x, int32_t y);
    // A click at the control's pointer position.
    void Click();
    // One step of the slide timer.
    void SlideTick();

    // Viewer state, for the hosts and the tests.
    int32_t GetHoverIndex() const { return m_hoverIndex; }
    int32_t GetShownIndex() const { return m_shownIndex; }
    int32_t GetCurrentSlide() const { return m_currentSlide; }
    int32_t GetSlideCount() const { return m_slideCount; }
    const evProjectorNaviAction* GetCurrentNaviAction() const { return m_currentNavi; }
    const evProjectorMouseAction* GetHoverAction() const { return m_hoverAction; }

private:
    evProjectorPageElement* ElementAt(int32_t index) const;
    void SetOverlay(const ViewerOverlay* overlay);
    int32_t CountSlides() const;
    bool IsSoundOn() const;
    bool IsSlideShow() const { return m_pageType == 1; }
    const evProjectorPageElement* DrawElements(Canvas& target);
    void DrawShownElement(Canvas& target) const;
    void PresentSlide(Canvas& canvas, const Bitmap& page, const evProjectorPageElement* slide);
    void DrawOverlay(Canvas& canvas) const;
    void RefreshHighlight(Canvas& canvas);
    evProjectorNaviAction* FindNaviAction(int32_t x, int32_t y) const;
    evProjectorMouseAction* FindMouseAction(int32_t x, int32_t y) const;
    bool IsActionVisible(const evProjectorMouseAction& action) const;
    void SetHoverIndex(int32_t index);
    void LeaveHoverAction();
    void DrawOnControl(int32_t elementIndex);
    void RenderOnControl();

    std::unique_ptr<evObjectCollection> m_elements;
    std::unique_ptr<evObjectCollection> m_mouseActions;
    std::unique_ptr<evObjectCollection> m_naviActions;
    int32_t m_pageType = 0;
    int32_t m_slideInterval = 0;

    // Viewer state, never stored.
    ViewerControl* m_control = nullptr;
    ViewerCallbacks m_callbacks;
    std::optional<ViewerOverlay> m_overlay;
    evProjectorNaviAction* m_overlayAction = nullptr;
    std::unique_ptr<ViewerTimer> m_slideTimer;
    int32_t m_hoverIndex = -1;
    int32_t m_shownIndex = -1;
    int32_t m_currentSlide = 0;
    int32_t m_slideCount = 0;
    int64_t m_lastSlideChange = 0;
    evProjectorNaviAction* m_currentNavi = nullptr;
    evProjectorMouseAction* m_hoverAction = nullptr;
    const evProjectorPageElement* m_previousSlide = nullptr;
    bool m_firstDrawing = true;
};
