#pragma once
// The timeline strip: a 1024 x 148 frame that shows the pages of one category of the open project as a row of
// thumbnails with their status markers. The project menu owns the one strip and lends it to the page editor it
// runs (on that editor's main panel at 0, 607), so all editors share the current page.
//
// The thumbnails are drawn once per rebuild into a content strip (on black) and their shapes into a mask strip
// (black on white); every compose lays the visible window of both over the background with AND and OR, so the
// background shows wherever no thumbnail is. Hotspots keep the clickable rectangles in strip coordinates.
//
// A page's thumbnail is rendered once and kept by the page until it changes. After a rebuild only the thumbnails
// in the window are rendered before the strip is shown; the others follow while the program waits for input, or
// at once when scrolling brings them into the window, and only while the strip is shown: a hidden strip may
// still list pages that its owner is about to change.

#include "platform/Bitmap.h"
#include "platform/Color.h"
#include "screens/TImage.h"
#include "screens/TLabel.h"

#include <QString>
#include <QWidget>

#include <cstdint>
#include <vector>

class ITimelineHost;
class QShowEvent;
class QTimer;
class evCategory;

class TframeTimeline : public QWidget {
    Q_OBJECT

public:
    // What a hotspot stands for.
    enum HotspotKind : uint8_t {
        hkStepUp = 0,    // "<<" above the shown category
        hkStepIn = 1,    // "+n" below a page with sub-pages
        hkPage = 2,      // the thumbnail
        hkSwitchOff = 3, // "X"
        hkTexts = 4,     // "T" marker
        hkLayout = 5,    // "L" marker
        hkPictures = 6,  // "P" marker
    };
    struct Hotspot {
        int32_t left = 0;
        int32_t top = 0;
        int32_t right = 0;
        int32_t bottom = 0;
        uint8_t kind = hkPage;
        evCategory* object = nullptr;
    };

    // Sizes of the row: a thumbnail with its markers is 118 wide, neighbours are 17 apart.
    static constexpr int kThumbWidth = 118;
    static constexpr int kThumbGap = 17;
    static constexpr int kPreviewWidth = 100;
    static constexpr int kPreviewHeight = 75;
    static constexpr int kMargin = 48;
    static constexpr int kScrollStep = 10;

    // Fill colours of the markers.
    static constexpr TColor kMarkerDone = RGBColor(0, 153, 4);
    static constexpr TColor kMarkerNotNeeded = RGBColor(88, 89, 95);
    static constexpr TColor kMarkerMissing = RGBColor(255, 59, 0);
    static constexpr TColor kBoxGreen = RGBColor(69, 168, 0);
    static constexpr TColor kLineGrey = RGBColor(80, 80, 80);
    static constexpr TColor kFrameYellow = RGBColor(255, 255, 0);

    explicit TframeTimeline(QWidget* parent = nullptr);
    ~TframeTimeline() override;

    // The page being edited.
    evCategory* CurrentPage() const { return m_currentPage; }
    // The category whose pages are shown; nullptr before the first SetPosition.
    evCategory* GetCategory() const { return m_category; }

    // Shows the pages of the category (nullptr: the open project's first top-level category) with the page as
    // the current page; with select, the page's thumbnail gets the yellow frame and its path is shown.
    void SetPosition(evCategory* category, evCategory* page, bool select);
    // Redraws the current page's thumbnail and markers (after a change to the page).
    void RefreshCurrentPage();
    // Redraws only the current page's three markers.
    void RefreshMarkers();
    // Forgets the project's pages (the project is about to be freed).
    void Reset();

    // Handlers, in the strip's own coordinates.
    void imgTimelineMouseMove(int x, int y);
    void imgTimelineMouseDown(int x, int y);
    void imgScrollLeftMouseDown();
    void imgScrollRightMouseDown();
    void imgScrollMouseUp();
    void timerTimer();

    const std::vector<Hotspot>& Hotspots() const { return m_hotspots; }
    int32_t SelectedHotspot() const { return m_selected; }
    int32_t HoveredHotspot() const { return m_hovered; }
    int32_t StripWidth() const { return m_stripWidth; }
    int32_t ScrollOffset() const { return m_scrollOffset; }
    int32_t ScrollStep() const { return m_scrollStep; }
    // Index of the thumbnail hotspot of the page; -1 when the page is not in the strip.
    int32_t ThumbnailOf(const evCategory* page) const;
    // Thumbnails outside the window not rendered yet; they are filled in while the program waits for input.
    size_t PendingThumbnails() const { return m_pending.size(); }

    // The node's title preceded by each ancestor's title and " -> ", the top ancestor first.
    static QString PathOf(const evCategory* node);
    // The completeness bits as the markers show them: the stored meaning of GetCompleteness, except that a text
    // field still holding the design's sample text leaves T unfinished, and an empty slide show or film strip
    // leaves B unfinished.
    static int32_t DisplayedCompleteness(const evCategory& node);
    // The fill of a marker for one aspect of a page's completeness bits.
    static TColor MarkerColour(int32_t completeness, int32_t doneBit, int32_t notNeededBit);

    // Skin pictures TimelineBackground, ScrollLeft and ScrollRight, set and cleared by the project menu.
    TImage* imgBg;
    TImage* imgTimeline;
    TImage* imgScrollLeft;
    TImage* imgScrollRight;
    TLabel* labelCategoryTitle;
    QTimer* timer;

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct Flags {
        bool line = false;
        bool stepUp = false;
        int32_t pagesBelow = 0;
    };

    void Rebuild();
    std::vector<evCategory*> StripPages() const;
    // A thumbnail left to render, at its place in the strip.
    struct Pending {
        evCategory* node;
        int x;
        int y;
    };

    void DrawThumbnails(const std::vector<evCategory*>& pages);
    void DrawThumbnail(evCategory* node, int x, int y, const Flags& flags);
    void DrawConnection(int x, int y);
    void DrawPreview(evCategory* node, int x, int y);
    void DrawRenderedPreview(evCategory* node, int x, int y);
    void DrawPreviewFrame(const TRect& rect);
    void DrawPending(const std::vector<Pending>& pending);
    void DrawPendingInWindow();
    void FillPendingThumbnails();
    void DrawMarkers(evCategory* node, int x, int y);
    void DrawSwitchOff(int x, int y);
    void DrawStepUp(int x, int y);
    TRect DrawStepIn(int x, int y, int32_t pagesBelow);
    void DrawBox(const TRect& box, TColor fill, TColor frame, const char* text, TColor textColour);
    void MaskRect(const TRect& rect);
    void AddHotspot(const TRect& rect, uint8_t kind, evCategory* object);

    void Compose();
    void DrawSelection(QImage& display) const;
    void MoveFrameTo(int32_t index);
    void ShowPath(const evCategory* node);
    void SwitchOff(evCategory* object);
    void StartScrolling(int32_t step);
    int32_t WindowWidth() const;
    bool InWindow(int x) const;
    int32_t HotspotAt(int x, int y) const;
    ITimelineHost* Host() const;
    void NotifyPageChanged();

    evCategory* m_category = nullptr;
    evCategory* m_currentPage = nullptr;
    std::vector<Hotspot> m_hotspots;
    int32_t m_selected = -1;
    int32_t m_hovered = -1;
    int32_t m_stripWidth = 0;
    int32_t m_scrollOffset = 0;
    int32_t m_scrollStep = 0;
    std::vector<Pending> m_pending;
    QTimer* m_fillTimer = nullptr;
    Bitmap m_backBuffer;
    Bitmap m_content;
    Bitmap m_mask;
};
