#pragma once
// One page of the album and a node of the chapter tree. A category owns its first child (sub) and its next
// sibling, so the first top-level category owns the whole tree; previous and parent are back links rebuilt
// while reading, and only a first child has a parent. It names its page layout by identifier, holds the user's
// content for the slots of that page layout and keeps a rendered preview of its page in the temporary folder.
//
// Body on the stream (version 3), after the evObject header:
//   string      title
//   string      comment
//   byte        optional
//   reference   sub                   (the whole first child, with its subtree and sibling chain)
//   reference   next                  (the whole rest of the sibling chain)
//   (3 x int32  discarded             version 0 only)
//   int32       kind                  (version >= 1, else 3)
//   byte        selected              (version >= 2, else true)
//   int32       page layout id        (version >= 3, else 0)
//   collection  user elements         (version >= 3, else empty; evCategoryEntry)
//
// The sub and next references nest a whole tree inside one body. They are read, written, copied, compared and
// destroyed without recursion, so a long chain or a deep tree cannot exhaust the stack.
//
// The order of the pages in the tree is model/PageOrder.h, how far a page is filled model/PageCompleteness.h.

#include "model/CategoryPreview.h"
#include "model/evObject.h"
#include "model/evObjectCollection.h"
#include "platform/Geometry.h"

#include <cstdint>
#include <memory>
#include <string>

class Bitmap;
class Canvas;
class evCategoryEntry;
class evPageLayout;
class evProject;
class evProjectorPage;

class evCategory : public evObject {
    EV_DECLARE_CLASS(evCategory, evObject)

public:
    // Deeper trees than this (children of children ...) are refused on reading as damaged input. Sibling
    // chains have no limit of their own: their length is bounded by the bytes of the stream.
    static constexpr int kMaxTreeDepth = 100000;

    evCategory(std::string title, std::string comment, bool optional, int32_t kind);
    evCategory(std::string title, std::string comment, bool optional, int32_t kind, std::unique_ptr<evCategory> sub,
               std::unique_ptr<evCategory> next);
    evCategory(Stream& stream, ProgressBar* progress);
    // Destroys the user elements, deletes the preview file and destroys everything the category still owns: its
    // subtree and the rest of its sibling chain. Use Destroy to take out one category and keep its siblings.
    ~evCategory() override;

    static constexpr int32_t kVersion = 3;
    int32_t GetVersion() const override { return kVersion; }
    void SaveToStream(Stream& stream) const override;
    // A deep copy of the category, its subtree and the rest of its sibling chain.
    std::unique_ptr<evObject> Clone() const override;
    std::unique_ptr<evCategory> CloneCategory() const;
    // Title, comment and optional of both trees, node by node; kind, selected, page layout and content are ignored.
    bool IsEqual(const evObject* other) const override;
    std::string ToString() const override;

    // Takes one category out of the tree and destroys it with its children; its following siblings stay. The
    // previous (or else the parent) takes its next in its place. The category must be held by the tree (it has a
    // previous or a parent); a first top-level category is removed with DestroyFirst.
    static void Destroy(evCategory* category);
    // Destroys a category that nobody in the tree owns (a first top-level one) with its children, and hands back
    // its former next sibling chain, which no longer has a previous.
    static std::unique_ptr<evCategory> DestroyFirst(std::unique_ptr<evCategory> category);
    // Destroys the category, its children and all its following siblings.
    static void DestroyAll(std::unique_ptr<evCategory> category);

    // Links the category behind the last sibling of this chain.
    void AppendSibling(std::unique_ptr<evCategory> category);
    // Links the category directly behind this one; the old next moves behind it.
    void InsertAfter(std::unique_ptr<evCategory> category);
    // Makes the category the sub, or appends it behind the last child.
    void AddChild(std::unique_ptr<evCategory> category);

    bool HasNext() const { return m_next != nullptr; }
    bool HasPrevious() const { return m_previous != nullptr; }
    bool HasSub() const { return m_sub != nullptr; }
    bool HasParent() const { return m_parent != nullptr; }
    evCategory* GetNext() const { return m_next.get(); }
    evCategory* GetPrevious() const { return m_previous; }
    evCategory* GetSub() const { return m_sub.get(); }
    evCategory* GetParent() const { return m_parent; }
    // Plain link access: each changes one field only. SetNext and SetSub hand back what they held.
    std::unique_ptr<evCategory> SetNext(std::unique_ptr<evCategory> next);
    std::unique_ptr<evCategory> SetSub(std::unique_ptr<evCategory> sub);
    void SetPrevious(evCategory* previous) { m_previous = previous; }
    void SetParent(evCategory* parent) { m_parent = parent; }
    // The parent, else the previous's effective parent; nullptr at the top level.
    evCategory* GetEffectiveParent() const;

    const std::string& GetTitle() const { return m_title; }
    void SetTitle(std::string title) { m_title = std::move(title); }
    const std::string& GetComment() const { return m_comment; }
    bool GetOptional() const { return m_optional; }
    bool GetSelected() const { return m_selected; }
    void SetSelected(bool selected) { m_selected = selected; }
    int32_t GetKind() const { return m_kind; }
    evProject* GetProject() const { return m_project; }
    void SetProject(evProject* project) { m_project = project; }
    // Selected or not optional.
    bool IsIncluded() const { return m_selected || !m_optional; }

    evObjectCollection& GetUserElements() { return *m_userElements; }
    const evObjectCollection& GetUserElements() const { return *m_userElements; }
    // Replaces the user-element collection and hands the old one back (a studio record lends its own).
    std::unique_ptr<evObjectCollection> SetUserElements(std::unique_ptr<evObjectCollection> elements);
    void AddUserElement(int32_t slotId, std::unique_ptr<evObject> element);
    evObject* FindUserElement(int32_t slotId) const;
    evObject* FindLastUserElement(int32_t slotId) const;
    evCategoryEntry* FindUserEntry(int32_t slotId) const;

    int32_t GetPageLayoutID() const { return m_pageLayoutId; }
    // Sets the identifier, deletes the preview file and marks the page for rendering.
    void SetPageLayoutID(int32_t id);
    // The project's design's object with the page layout identifier, when it is a page layout.
    evPageLayout* GetPageLayout() const;

    // Marks the preview for rendering after a change of the content.
    void MarkDirty() { m_preview.MarkDirty(); }
    bool IsDirty() const { return m_preview.IsDirty(); }
    bool RenderFailed() const { return m_preview.RenderFailed(); }
    const CategoryPreview& GetPreview() const { return m_preview; }

    // Renders the page into the preview file when needed (or always, with a page). Never raises: false when no
    // usable preview exists. markEmpty shows the empty slots of the user's content as dark red blocks.
    bool Render(evProjectorPage* page, bool markEmpty);
    bool DrawPreview(const TRect& rect, Canvas& canvas, bool markEmpty);
    // Draws the page's thumbnail into the rectangle: the one kept from the last drawing of that size while the
    // page is unchanged, else one made from the current preview file, else one rendered in memory with the
    // photographs decoded only for the thumbnail's size. Never raises: false (nothing drawn) when the page
    // cannot be rendered.
    bool DrawThumbnail(const TRect& rect, Canvas& canvas);
    // Loads the preview file into the bitmap.
    void AssignPreviewTo(Bitmap& target) const;
    std::unique_ptr<evProjectorPage> CreatePresentationPage();

private:
    struct HeadOnly {};
    // Reads the header and the fields before the links; the links and the tail are read by ReadTree.
    evCategory(Stream& stream, HeadOnly);
    void ReadHead(Stream& stream);
    void ReadTail(Stream& stream, ProgressBar* progress);
    void ReadTree(Stream& stream, ProgressBar* progress);
    static std::unique_ptr<evCategory> ReadLink(Stream& stream);
    void WriteHead(Stream& stream) const;
    void WriteTail(Stream& stream) const;
    std::unique_ptr<evCategory> CopyOwnFields() const;
    void AppendTextHead(std::string& text) const;
    void AppendTextTail(std::string& text) const;
    void ClearUserElementMarks();
    Bitmap PagePictureForThumbnail(int width);
    std::unique_ptr<evCategory> Unlink();

    evCategory* m_previous = nullptr;
    std::unique_ptr<evCategory> m_next;
    evCategory* m_parent = nullptr;
    std::unique_ptr<evCategory> m_sub;
    std::string m_title;
    std::string m_comment;
    bool m_optional = false;
    bool m_selected = true;
    int32_t m_kind = 3;
    int32_t m_pageLayoutId = 0;
    evProject* m_project = nullptr;
    std::unique_ptr<evObjectCollection> m_userElements;
    CategoryPreview m_preview;
};
