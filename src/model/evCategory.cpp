#include "model/evCategory.h"

#include "model/ObjectStream.h"
#include "model/evCategoryEntry.h"
#include "model/evLayout.h"
#include "model/evPageLayout.h"
#include "model/evPageLayoutEntry.h"
#include "model/evProject.h"
#include "model/evUserPicture.h"
#include "model/evUserTextfield.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Errors.h"
#include "platform/Stream.h"
#include "platform/TempFiles.h"
#include "model/evActionElement.h"
#include "model/evProjectorPage.h"

#include <utility>

namespace {

// What is left of a frame of the hand-kept stacks below: the links come first, then the fields behind them.
enum class Stage { Sub, Next, Tail };

std::string BoolText(bool value) { return value ? "true, " : "false, "; }

} // namespace

evCategory::evCategory(std::string title, std::string comment, bool optional, int32_t kind)
    : evCategory(std::move(title), std::move(comment), optional, kind, nullptr, nullptr)
{
}

evCategory::evCategory(std::string title, std::string comment, bool optional, int32_t kind,
                       std::unique_ptr<evCategory> sub, std::unique_ptr<evCategory> next)
    : m_next(std::move(next)), m_sub(std::move(sub)), m_title(std::move(title)), m_comment(std::move(comment)),
      m_optional(optional), m_kind(kind), m_userElements(std::make_unique<evObjectCollection>())
{
    if (m_sub)
        m_sub->m_parent = this;
    if (m_next)
        m_next->m_previous = this;
}

evCategory::evCategory(Stream& stream, HeadOnly) : evObject(stream, nullptr)
{
    ReadHead(stream);
}

// The body of every category of the tree is read here, the nested ones included, without recursion; see the
// layout above the class.
evCategory::evCategory(Stream& stream, ProgressBar* progress) : evObject(stream, progress)
{
    ReadHead(stream);
    ReadTree(stream, progress);
}

void evCategory::ReadHead(Stream& stream)
{
    m_userElements = std::make_unique<evObjectCollection>();
    m_title = stream.ReadString();
    m_comment = stream.ReadString();
    m_optional = stream.ReadBool();
}

//   (3 x int32 discarded      version 0)
//   int32 kind                version >= 1, else 3
//   byte selected             version >= 2, else true
//   int32 page layout id      version >= 3, else 0
//   collection user elements  version >= 3, else empty
void evCategory::ReadTail(Stream& stream, ProgressBar* progress)
{
    const int32_t version = GetStoredVersion();
    if (version == 0) {
        for (int i = 0; i < 3; ++i)
            (void)stream.ReadInt32();
    }
    m_kind = version >= 1 ? stream.ReadInt32() : 3;
    m_selected = version >= 2 ? stream.ReadBool() : true;
    if (version >= 3) {
        m_pageLayoutId = stream.ReadInt32();
        m_userElements = std::make_unique<evObjectCollection>(stream, progress);
    }
}

// A sub or next reference: "NP" (or any tag but "P") for none, else "P", "evCategory" and a category's head.
std::unique_ptr<evCategory> evCategory::ReadLink(Stream& stream)
{
    if (stream.ReadString() != "P")
        return nullptr;
    const std::string className = stream.ReadString();
    if (className != kClassName)
        throw EReadError("Unexpected class \"" + className + "\" in a category tree");
    return std::unique_ptr<evCategory>(new evCategory(stream, HeadOnly{}));
}

void evCategory::ReadTree(Stream& stream, ProgressBar* progress)
{
    struct Frame {
        evCategory* category;
        Stage stage;
        int depth;
    };
    std::vector<Frame> stack{{this, Stage::Sub, 0}};
    while (!stack.empty()) {
        Frame& frame = stack.back();
        evCategory* category = frame.category;
        if (frame.stage == Stage::Tail) {
            // Only the outermost category passes its progress bar on; the nested ones were read without it.
            category->ReadTail(stream, category == this ? progress : nullptr);
            stack.pop_back();
            continue;
        }
        const bool isSub = frame.stage == Stage::Sub;
        const int depth = frame.depth + (isSub ? 1 : 0);
        frame.stage = isSub ? Stage::Next : Stage::Tail;
        std::unique_ptr<evCategory> link = ReadLink(stream);
        if (!link)
            continue;
        if (depth > kMaxTreeDepth)
            throw EReadError("Stream read error: the category tree is nested too deeply");
        evCategory* child = link.get();
        if (isSub) {
            category->m_sub = std::move(link);
            child->m_parent = category;
        } else {
            category->m_next = std::move(link);
            child->m_previous = category;
        }
        stack.push_back({child, Stage::Sub, depth});
    }
    m_parent = nullptr;
    m_previous = nullptr;
}

// Everything still owned is taken apart into a flat list first, so no destructor recurses.
evCategory::~evCategory()
{
    m_userElements.reset();
    DeletePreviewFile();
    std::vector<std::unique_ptr<evCategory>> pending;
    if (m_sub)
        pending.push_back(std::move(m_sub));
    if (m_next)
        pending.push_back(std::move(m_next));
    while (!pending.empty()) {
        std::unique_ptr<evCategory> category = std::move(pending.back());
        pending.pop_back();
        if (category->m_sub)
            pending.push_back(std::move(category->m_sub));
        if (category->m_next)
            pending.push_back(std::move(category->m_next));
    }
}

void evCategory::WriteHead(Stream& stream) const
{
    evObject::SaveToStream(stream);
    stream.WriteString(m_title);
    stream.WriteString(m_comment);
    stream.WriteBool(m_optional);
}

void evCategory::WriteTail(Stream& stream) const
{
    stream.WriteInt32(m_kind);
    stream.WriteBool(m_selected);
    stream.WriteInt32(m_pageLayoutId);
    if (!m_userElements->SaveToStream(stream))
        throw EWriteError();
}

void evCategory::SaveToStream(Stream& stream) const
{
    std::vector<std::pair<const evCategory*, Stage>> stack{{this, Stage::Sub}};
    WriteHead(stream);
    while (!stack.empty()) {
        auto& [category, stage] = stack.back();
        if (stage == Stage::Tail) {
            category->WriteTail(stream);
            stack.pop_back();
            continue;
        }
        const evCategory* link = stage == Stage::Sub ? category->m_sub.get() : category->m_next.get();
        stage = stage == Stage::Sub ? Stage::Next : Stage::Tail;
        if (!link) {
            stream.WriteString("NP");
            continue;
        }
        stream.WriteString("P");
        stream.WriteString(kClassName);
        link->WriteHead(stream);
        stack.push_back({link, Stage::Sub});
    }
}

std::unique_ptr<evCategory> evCategory::CopyOwnFields() const
{
    auto copy = std::make_unique<evCategory>(m_title, m_comment, m_optional, m_kind);
    copy->m_project = m_project;
    copy->m_userElements = m_userElements->Clone();
    copy->m_selected = m_selected;
    copy->SetStoredVersion(GetStoredVersion());
    copy->SetPageLayoutID(m_pageLayoutId);
    return copy;
}

std::unique_ptr<evCategory> evCategory::CloneCategory() const
{
    std::unique_ptr<evCategory> root = CopyOwnFields();
    std::vector<std::pair<const evCategory*, evCategory*>> stack{{this, root.get()}};
    while (!stack.empty()) {
        auto [source, copy] = stack.back();
        stack.pop_back();
        if (source->m_sub) {
            copy->m_sub = source->m_sub->CopyOwnFields();
            copy->m_sub->m_parent = copy;
            stack.push_back({source->m_sub.get(), copy->m_sub.get()});
        }
        if (source->m_next) {
            copy->m_next = source->m_next->CopyOwnFields();
            copy->m_next->m_previous = copy;
            stack.push_back({source->m_next.get(), copy->m_next.get()});
        }
    }
    return root;
}

std::unique_ptr<evObject> evCategory::Clone() const { return CloneCategory(); }

bool evCategory::IsEqual(const evObject* other) const
{
    const auto* otherCategory = dynamic_cast<const evCategory*>(other);
    if (!otherCategory || std::string(other->ClassName()) != kClassName)
        return false;
    std::vector<std::pair<const evCategory*, const evCategory*>> stack{{this, otherCategory}};
    while (!stack.empty()) {
        auto [a, b] = stack.back();
        stack.pop_back();
        if (a->m_title != b->m_title || a->m_comment != b->m_comment || a->m_optional != b->m_optional)
            return false;
        if ((a->m_sub == nullptr) != (b->m_sub == nullptr) || (a->m_next == nullptr) != (b->m_next == nullptr))
            return false;
        if (a->m_sub)
            stack.push_back({a->m_sub.get(), b->m_sub.get()});
        if (a->m_next)
            stack.push_back({a->m_next.get(), b->m_next.get()});
    }
    return true;
}

void evCategory::AppendTextHead(std::string& text) const
{
    text += "evCategory[id:" + std::to_string(GetID()) + ", title: '" + m_title + "', prev: ";
    text += m_previous ? m_previous->m_title + ", parent: " : "nil, parent: ";
    text += m_parent ? m_parent->m_title + ", sub: " : "nil, sub: ";
}

void evCategory::AppendTextTail(std::string& text) const
{
    text += ", comment: '" + m_comment + "', optional: " + BoolText(m_optional) + ", selected: " +
            BoolText(m_selected) + "kind: " + std::to_string(m_kind) + ", pageLayout: " +
            std::to_string(m_pageLayoutId) + ", userElements: " + m_userElements->ToString() + "]";
}

std::string evCategory::ToString() const
{
    std::string text;
    std::vector<std::pair<const evCategory*, Stage>> stack{{this, Stage::Sub}};
    AppendTextHead(text);
    while (!stack.empty()) {
        auto& [category, stage] = stack.back();
        if (stage == Stage::Tail) {
            category->AppendTextTail(text);
            stack.pop_back();
            continue;
        }
        const evCategory* link = stage == Stage::Sub ? category->m_sub.get() : category->m_next.get();
        if (stage == Stage::Next)
            text += ", next: ";
        stage = stage == Stage::Sub ? Stage::Next : Stage::Tail;
        if (!link) {
            text += "nil";
            continue;
        }
        link->AppendTextHead(text);
        stack.push_back({link, Stage::Sub});
    }
    return text;
}

// Hands back the owner's hold on this category after its previous (or else its parent) has taken its next.
// A category that nobody in the tree owns gives nullptr and keeps its links.
std::unique_ptr<evCategory> evCategory::Unlink()
{
    std::unique_ptr<evCategory> self;
    if (m_previous) {
        self = std::move(m_previous->m_next);
        m_previous->m_next = std::move(m_next);
        if (m_previous->m_next)
            m_previous->m_next->m_previous = m_previous;
    } else if (m_parent) {
        self = std::move(m_parent->m_sub);
        m_parent->m_sub = std::move(m_next);
        if (m_parent->m_sub) {
            m_parent->m_sub->m_parent = m_parent;
            m_parent->m_sub->m_previous = nullptr;
        }
    } else {
        return nullptr;
    }
    m_previous = nullptr;
    m_parent = nullptr;
    return self;
}

void evCategory::Destroy(evCategory* category)
{
    if (!category)
        return;
    std::unique_ptr<evCategory> self = category->Unlink();
    if (!self)
        throw EVelloraError("A first top-level category is removed with DestroyFirst");
}

std::unique_ptr<evCategory> evCategory::DestroyFirst(std::unique_ptr<evCategory> category)
{
    if (!category)
        return nullptr;
    std::unique_ptr<evCategory> next = std::move(category->m_next);
    if (next)
        next->m_previous = nullptr;
    return next;
}

void evCategory::DestroyAll(std::unique_ptr<evCategory>) {}

void evCategory::AppendSibling(std::unique_ptr<evCategory> category)
{
    evCategory* last = this;
    while (last->m_next)
        last = last->m_next.get();
    category->m_previous = last;
    last->m_next = std::move(category);
}

void evCategory::InsertAfter(std::unique_ptr<evCategory> category)
{
    if (!m_next) {
        AppendSibling(std::move(category));
        return;
    }
    std::unique_ptr<evCategory> oldNext = std::move(m_next);
    evCategory* inserted = category.get();
    inserted->m_previous = this;
    m_next = std::move(category);
    inserted->AppendSibling(std::move(oldNext));
}

void evCategory::AddChild(std::unique_ptr<evCategory> category)
{
    if (m_sub) {
        m_sub->AppendSibling(std::move(category));
        return;
    }
    category->m_parent = this;
    m_sub = std::move(category);
}

std::unique_ptr<evCategory> evCategory::SetNext(std::unique_ptr<evCategory> next)
{
    std::swap(next, m_next);
    return next;
}

std::unique_ptr<evCategory> evCategory::SetSub(std::unique_ptr<evCategory> sub)
{
    std::swap(sub, m_sub);
    return sub;
}

evCategory* evCategory::GetEffectiveParent() const
{
    for (const evCategory* category = this; category; category = category->m_previous) {
        if (category->m_parent)
            return category->m_parent;
    }
    return nullptr;
}

std::unique_ptr<evObjectCollection> evCategory::SetUserElements(std::unique_ptr<evObjectCollection> elements)
{
    if (!elements)
        elements = std::make_unique<evObjectCollection>();
    std::swap(elements, m_userElements);
    return elements;
}

void evCategory::AddUserElement(int32_t slotId, std::unique_ptr<evObject> element)
{
    m_userElements->Add(std::make_unique<evCategoryEntry>(slotId, std::move(element)));
    m_dirty = true;
}

evCategoryEntry* evCategory::FindUserEntry(int32_t slotId) const
{
    for (int32_t i = 0; i < m_userElements->Count(); ++i) {
        auto* entry = m_userElements->GetItemAs<evCategoryEntry>(i);
        if (entry && entry->GetSlotID() == slotId)
            return entry;
    }
    return nullptr;
}

evObject* evCategory::FindUserElement(int32_t slotId) const
{
    evCategoryEntry* entry = FindUserEntry(slotId);
    return entry ? entry->GetElement() : nullptr;
}

evObject* evCategory::FindLastUserElement(int32_t slotId) const
{
    for (int32_t i = m_userElements->Count() - 1; i >= 0; --i) {
        auto* entry = m_userElements->GetItemAs<evCategoryEntry>(i);
        if (entry && entry->GetSlotID() == slotId)
            return entry->GetElement();
    }
    return nullptr;
}

void evCategory::DeletePreviewFile()
{
    if (!m_previewFile.empty())
        DeleteFileIfExists(m_previewFile);
}

void evCategory::SetPageLayoutID(int32_t id)
{
    m_pageLayoutId = id;
    DeletePreviewFile();
    m_previewFile.clear();
    m_renderFailed = true;
    m_dirty = true;
}

// Identifier 0 names no page layout (objects built in memory all carry identifier 0).
evPageLayout* evCategory::GetPageLayout() const
{
    if (m_pageLayoutId == 0 || !m_project || !m_project->GetDesign())
        return nullptr;
    return dynamic_cast<evPageLayout*>(m_project->GetDesign()->FindByID(m_pageLayoutId));
}

void evCategory::ClearUserElementMarks()
{
    for (int32_t i = 0; i < m_userElements->Count(); ++i) {
        auto* entry = m_userElements->GetItemAs<evCategoryEntry>(i);
        if (auto* element = entry ? dynamic_cast<evDrawableElement*>(entry->GetElement()) : nullptr)
            element->ClearPainted();
    }
}

namespace {

// Lends a page layout to a category for one rendering and gives the page layout its own state back afterwards,
// also when the rendering fails.
class PageLayoutBinding {
public:
    PageLayoutBinding(evPageLayout& layout, evCategory* category, const std::string& previewFile)
        : m_layout(layout), m_ownPreviewFile(layout.GetPreviewFile())
    {
        m_layout.SetCategory(category);
        m_layout.SetPreviewFile(previewFile);
    }
    ~PageLayoutBinding()
    {
        m_layout.SetPreviewFile(m_ownPreviewFile);
        m_layout.SetCategory(nullptr);
    }
    PageLayoutBinding(const PageLayoutBinding&) = delete;
    PageLayoutBinding& operator=(const PageLayoutBinding&) = delete;

private:
    evPageLayout& m_layout;
    std::string m_ownPreviewFile;
};

} // namespace

bool evCategory::Render(evProjectorPage* page, bool finalFlag)
{
    if (!m_previewFile.empty() && !m_dirty && !page)
        return !m_renderFailed;
    bool rendered = false;
    try {
        evPageLayout* layout = GetPageLayout();
        if (!layout)
            throw EVelloraError("The page layout " + std::to_string(m_pageLayoutId) + " is not in the design");
        ClearUserElementMarks();
        if (m_previewFile.empty()) {
            // The name is taken at once, so that no other category picks it before the bitmap is written.
            m_previewFile = UniqueTempFileName("evcp.evp");
            FileStream reserve(m_previewFile, FileStream::Mode::Create);
        }
        PageLayoutBinding binding(*layout, this, m_previewFile);
        layout->Render(page, finalFlag);
        m_renderFailed = false;
        rendered = true;
    } catch (const std::exception&) {
        m_renderFailed = true;
    }
    m_dirty = false;
    return rendered;
}

bool evCategory::DrawPreview(const TRect& rect, Canvas& canvas, bool finalFlag)
{
    ClearUserElementMarks();
    if (!Render(nullptr, finalFlag))
        return false;
    try {
        Bitmap preview;
        preview.LoadFromFile(m_previewFile);
        canvas.FillRect(rect);
        canvas.StretchDraw(rect, preview);
    } catch (const EVelloraError&) {
        return false;
    }
    return true;
}

void evCategory::AssignPreviewTo(Bitmap& target) const { target.LoadFromFile(m_previewFile); }

std::unique_ptr<evProjectorPage> evCategory::CreatePresentationPage()
{
    auto page = std::make_unique<evProjectorPage>();
    Render(page.get(), true);
    return page;
}
