#include "model/evCategory.h"

#include "model/evCategoryEntry.h"
#include "model/evLayout.h"
#include "model/evPageLayout.h"
#include "model/evProject.h"
#include "platform/Errors.h"

#include <utility>
#include <vector>

evCategory::evCategory(std::string title, std::string comment, bool optional, int32_t kind)
    : evCategory(std::move(title), std::move(comment), optional, kind, nullptr, nullptr)
{}

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

// Everything still owned is taken apart into a flat list first, so no destructor recurses.
evCategory::~evCategory()
{
    m_userElements.reset();
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
    m_preview.MarkDirty();
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

void evCategory::SetPageLayoutID(int32_t id)
{
    m_pageLayoutId = id;
    m_preview.Discard();
}

// Identifier 0 names no page layout (objects built in memory all carry identifier 0).
evPageLayout* evCategory::GetPageLayout() const
{
    if (m_pageLayoutId == 0 || !m_project || !m_project->GetDesign())
        return nullptr;
    return dynamic_cast<evPageLayout*>(m_project->GetDesign()->FindByID(m_pageLayoutId));
}
