#pragma once
// A rectangle of a page layout that becomes a button, chapter menu, hover picture, film strip or slide show
// when the page is turned into a presentation page. Slots and label name page layout entries by identifier.
//
// Body on the stream (version 2), after the evObject header:
//   string  name
//   int32   X, Y, width, height
//   int32   action type
//   int32   first slot, second slot, label     (version >= 1, else 0)
//   int32   value A, value B                   (version >= 2, else 0)

#include "model/evObject.h"
#include "platform/Geometry.h"

#include <cstdint>
#include <string>

class Canvas;
class evCategory;
class evCategoryEntry;
class evDrawableElement;
class evPageLayout;
class evPicture;
class evProjectorPage;
class evUserPicture;
class evUserTextfield;

// Action types. 17 to 23 mark the studio page's text fields and 24 its logo; the project menu reads them.
enum evActionType : int32_t {
    atExit = 0,
    atBack = 1,
    atSound = 2,
    atPageTitle = 8,
    atChapterMenu = 9,
    atEnlargeOnHover = 10,
    atProjectTitle = 11,
    atProjectDate = 12,
    atEnd = 13,
    atNextSibling = 14,
    atFilmStrip = 15,
    atSlideShow = 16,
    atStudioIntro = 17,
    atStudioName = 18,
    atStudioAddress = 19,
    atStudioInformation = 20,
    atStudioPhone = 21,
    atStudioEmail = 22,
    atStudioWeb = 23,
    atExtraPicture = 24,
    atUserLabel = 25,
};

class evActionElement : public evObject {
    EV_DECLARE_CLASS(evActionElement, evObject)

public:
    evActionElement(std::string name, int32_t actionType, int32_t x, int32_t y, int32_t width, int32_t height);
    evActionElement(Stream& stream, ProgressBar* progress);
    ~evActionElement() override;

    static constexpr int32_t kVersion = 2;
    int32_t GetVersion() const override { return kVersion; }
    void SaveToStream(Stream& stream) const override;
    std::unique_ptr<evObject> Clone() const override;
    std::string ToString() const override;

    // Draws the element after the page layout's entries and, with a page, adds its elements and actions to it.
    // The current page is the category the page layout is bound to; page indexes count included pages. A
    // lookup that fails (no category, entry, slot or page) leaves out what depends on it, never more.
    void Draw(const TRect& rect, Canvas& canvas, evProjectorPage* page);

    const std::string& GetName() const { return m_name; }
    int32_t GetActionType() const { return m_actionType; }
    int32_t GetX() const { return m_x; }
    int32_t GetY() const { return m_y; }
    int32_t GetWidth() const { return m_width; }
    int32_t GetHeight() const { return m_height; }
    TRect GetRect() const { return Rect(m_x, m_y, m_x + m_width, m_y + m_height); }
    int32_t GetFirstSlot() const { return m_firstSlot; }
    void SetFirstSlot(int32_t id) { m_firstSlot = id; }
    int32_t GetSecondSlot() const { return m_secondSlot; }
    void SetSecondSlot(int32_t id) { m_secondSlot = id; }
    int32_t GetLabel() const { return m_label; }
    void SetLabel(int32_t id) { m_label = id; }
    int32_t GetValueA() const { return m_valueA; }
    void SetValueA(int32_t value) { m_valueA = value; }
    int32_t GetValueB() const { return m_valueB; }
    void SetValueB(int32_t value) { m_valueB = value; }
    evPageLayout* GetPageLayout() const { return m_pageLayout; }
    void SetPageLayout(evPageLayout* pageLayout) { m_pageLayout = pageLayout; }

private:
    // An element of the page layout placed by an entry, with the entry's rectangle.
    template <class T>
    struct Placed {
        T* element = nullptr;
        TRect rect;
        explicit operator bool() const { return element != nullptr; }
    };

    // Line links make each paragraph of the label a highlight with its own mouse area; a kept background is
    // put back after the label's snapshot, so the label stays out of the page's canvas.
    enum class LabelLinks { Off, On, OnKeepBackground };
    enum class LabelAfter { Empty, OwnText };

    evCategory* CurrentPage() const;
    template <class T>
    Placed<T> ResolveEntry(int32_t entryId) const;
    // Draws the label with the text; afterwards the label is left with an empty text or gets its own text back,
    // and its flags are off again. Returns how many page elements the drawing added.
    int32_t DrawLabel(const std::string& text, LabelLinks links, LabelAfter after, Canvas& canvas,
                      evProjectorPage* page) const;

    void DrawTextLabel(Canvas& canvas, evProjectorPage* page) const;
    void DrawExit(const TRect& rect, Canvas& canvas, evProjectorPage* page) const;
    void DrawBack(const TRect& rect, Canvas& canvas, evProjectorPage* page) const;
    void DrawSound(const TRect& rect, Canvas& canvas, evProjectorPage* page) const;
    void DrawChapterMenu(Canvas& canvas, evProjectorPage* page) const;
    void DrawEnlargeOnHover(Canvas& canvas, evProjectorPage* page) const;
    void DrawNextSibling(const TRect& rect, evProjectorPage* page) const;
    void DrawFilmStrip(const TRect& rect, evProjectorPage* page) const;
    void DrawSlideShow(Canvas& canvas, evProjectorPage* page) const;
    void DrawExtraPicture(Canvas& canvas, evProjectorPage* page) const;
    // Draws a slot with the user entry filed under the slot's element for the time of drawing (the entry gets
    // its own slot identifier back, whatever happens); returns how many page elements the drawing added.
    static int32_t DrawEntryInSlot(evCategoryEntry& entry, const Placed<evUserPicture>& slot, Canvas& canvas,
                                   evProjectorPage* page, bool markEmpty);

    std::string m_name;
    int32_t m_actionType = 0;
    int32_t m_firstSlot = 0;
    int32_t m_secondSlot = 0;
    int32_t m_label = 0;
    int32_t m_x = 0;
    int32_t m_y = 0;
    int32_t m_width = 0;
    int32_t m_height = 0;
    evPageLayout* m_pageLayout = nullptr;
    int32_t m_valueA = 0;
    int32_t m_valueB = 0;
};
