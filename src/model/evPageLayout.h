#pragma once
// One page template of a design: it places design elements and its own user slots on the page through
// entries, owns the page's action elements, and renders itself into a preview bitmap file of its own in the
// temporary folder. While a category's page is rendered, the page layout is bound to that category so the
// slots can find the user's content.
//
// Body on the stream (version 3), after the evObject header:
//   string      name
//   string      English title
//   string      title                 (version >= 3, else empty)
//   string      comment
//   string      key                   (version >= 2, else empty)
//   int32       kind
//   collection  entries               (evPageLayoutEntry)
//   collection  own elements          (evUserPicture, evUserTextfield)
//   collection  action elements       (evActionElement)

#include "model/evDrawableElement.h"
#include "model/evObjectCollection.h"
#include "platform/Bitmap.h"
#include "platform/Geometry.h"

#include <cstdint>
#include <memory>
#include <string>

class Canvas;
class TextMeasurer;
class evActionElement;
class evCategory;
class evLayout;
class evProjectorPage;

// Page kinds (the kind field).
enum evPageKind : int32_t {
    pkTextOnly = 0,
    pkPictureOnly = 1,
    pkTextAndPicture = 2,
    pkPictureOnly2 = 3,
    pkAnimation = 4,
    pkPictureOther = 8,
};

class evPageLayout : public evDrawableElement {
    EV_DECLARE_CLASS(evPageLayout, evDrawableElement)

public:
    // An in-memory page layout (disc labels). Reserves its preview file; EFCreateError when that fails.
    evPageLayout(evLayout* design, std::string name, std::string englishTitle, std::string comment, int32_t kind);
    evPageLayout(Stream& stream, ProgressBar* progress);
    ~evPageLayout() override;

    static constexpr int32_t kVersion = 3;
    int32_t GetVersion() const override { return kVersion; }
    void SaveToStream(Stream& stream) const override;
    std::string ToString() const override;
    void RemoveReferences(const evObject* object) override;
    // Itself, else the first match in own elements, then action elements, then entries.
    evObject* FindByID(int32_t id) override;

    // The design's page size.
    int32_t GetWidth() const override;
    int32_t GetHeight() const override;

    // The English title for exactly "en", the other title for every other language.
    const std::string& GetTitle(const std::string& language) const;
    const std::string& GetEnglishTitle() const { return m_englishTitle; }
    const std::string& GetOtherTitle() const { return m_title; }
    void SetOtherTitle(std::string title) { m_title = std::move(title); }
    const std::string& GetComment() const { return m_comment; }
    const std::string& GetKey() const { return m_key; }
    void SetKey(std::string key) { m_key = std::move(key); }
    int32_t GetKind() const { return m_kind; }

    evObjectCollection& GetEntries() { return *m_entries; }
    const evObjectCollection& GetEntries() const { return *m_entries; }
    evObjectCollection& GetOwnElements() { return *m_ownElements; }
    const evObjectCollection& GetOwnElements() const { return *m_ownElements; }
    evObjectCollection& GetActionElements() { return *m_actionElements; }
    const evObjectCollection& GetActionElements() const { return *m_actionElements; }

    // Adds an own element (a user slot) and introduces the page layout to it.
    int32_t AddOwnElement(std::unique_ptr<evObject> element);
    // Adds an action element and tells it its page layout.
    int32_t AddActionElement(std::unique_ptr<evActionElement> element);

    evLayout* GetDesign() const { return m_design; }
    void SetDesign(evLayout* design) { m_design = design; }
    evCategory* GetCategory() const { return m_category; }
    void SetCategory(evCategory* category) { m_category = category; }
    const std::string& GetPreviewFile() const { return m_previewFile; }
    void SetPreviewFile(std::string path) { m_previewFile = std::move(path); }
    TextMeasurer* GetTextMeasurer() { return m_textMeasurer.get(); }

    // Render(no page, empty slots marked) into the preview file.
    void RenderPreview();
    // Draws every entry's element and then the action elements onto a bitmap of the page size and writes it to
    // the preview file as a bitmap file. With a page, every element also adds its output to the page. markEmpty
    // shows the empty slots of the user's content as dark red blocks.
    void Render(evProjectorPage* page, bool markEmpty);
    // The drawing of Render, kept in memory and not written. shownScale is the fraction of the page's size at
    // which the bitmap will be seen: below 1 the photographs are decoded only for that size (a thumbnail).
    Bitmap Paint(evProjectorPage* page, bool markEmpty, double shownScale = 1.0);
    // Loads the preview file and draws it stretched into the rectangle.
    void DrawPreview(const TRect& rect, Canvas& canvas) const;

    // Index of the topmost entry under the point given as fractions of the page size, edges included; -1 for none.
    int32_t HitTest(double fx, double fy) const;
    // Entries whose element is a user text field for the user to fill (fixed 0).
    int32_t CountTextFields() const;
    evActionElement* FindActionElementByType(int32_t actionType) const;
    // The first action element whose first slot, second slot or label is the entry identifier.
    evActionElement* FindActionElement(int32_t entryId) const;

    // The element an entry places, looked up in the design; nullptr when the design does not know it.
    evObject* ResolveEntryElement(int32_t elementId) const;

private:
    void ReservePreviewFile();
    void IntroduceToElements();
    void AnnounceToDesign(const evObject* object);

    std::string m_englishTitle;
    std::string m_title;
    std::string m_comment;
    std::string m_key;
    int32_t m_kind = 0;
    std::unique_ptr<evObjectCollection> m_entries;
    std::unique_ptr<evObjectCollection> m_ownElements;
    std::unique_ptr<evObjectCollection> m_actionElements;
    evLayout* m_design = nullptr;
    std::string m_previewFile;
    std::unique_ptr<TextMeasurer> m_textMeasurer;
    evCategory* m_category = nullptr;
};
