#include "model/PageOrder.h"

#include "model/evCategory.h"
#include "platform/Errors.h"

#include <string>

namespace {

bool Listed(const evCategory& category, bool onlyIncluded)
{
    return !onlyIncluded || (category.IsIncluded() && category.GetPageLayoutID() != 0);
}

// The first top-level category of the category's tree.
evCategory* FirstOfTree(const evCategory* category)
{
    auto* current = const_cast<evCategory*>(category);
    while (current) {
        while (current->GetPrevious())
            current = current->GetPrevious();
        if (!current->GetParent())
            break;
        current = current->GetParent();
    }
    return current;
}

// Counts the included categories from start on: each included one with its subtree, every one followed by
// the rest of its chain.
int32_t CountFrom(const evCategory* start)
{
    int32_t count = 0;
    std::vector<const evCategory*> stack{start};
    while (!stack.empty()) {
        const evCategory* category = stack.back();
        stack.pop_back();
        if (!category)
            continue;
        if (category->GetNext())
            stack.push_back(category->GetNext());
        if (!category->IsIncluded())
            continue;
        ++count;
        if (category->GetSub())
            stack.push_back(category->GetSub());
    }
    return count;
}

} // namespace

namespace PageOrder {

// Walks with a stack of its own, so a deep tree or a long chain cannot exhaust the call stack.
void Flatten(evCategory* start, std::vector<evCategory*>& list, bool onlyIncluded)
{
    std::vector<evCategory*> stack{start};
    while (!stack.empty()) {
        evCategory* category = stack.back();
        stack.pop_back();
        if (!category)
            continue;
        const bool listed = Listed(*category, onlyIncluded);
        if (listed)
            list.push_back(category);
        if (category->GetNext())
            stack.push_back(category->GetNext());
        if (listed && category->GetSub())
            stack.push_back(category->GetSub());
    }
}

int32_t IndexOfCategory(const evCategory* category, bool onlyIncluded)
{
    std::vector<evCategory*> list;
    Flatten(FirstOfTree(category), list, onlyIncluded);
    for (size_t i = 0; i < list.size(); ++i) {
        if (list[i] == category)
            return static_cast<int32_t>(i);
    }
    return -1;
}

int32_t IndexOfKind(const evCategory* category, int32_t kind, bool onlyIncluded)
{
    std::vector<evCategory*> list;
    Flatten(FirstOfTree(category), list, onlyIncluded);
    for (size_t i = 0; i < list.size(); ++i) {
        if (list[i]->GetKind() == kind)
            return static_cast<int32_t>(i);
    }
    return -1;
}

evCategory* CategoryAt(evCategory* start, int32_t index, bool onlyIncluded)
{
    std::vector<evCategory*> list;
    Flatten(start, list, onlyIncluded);
    if (index < 0 || static_cast<size_t>(index) >= list.size())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return list[static_cast<size_t>(index)];
}

int32_t CountIncluded(const evCategory* category, bool childrenOnly)
{
    if (!category)
        return 0;
    if (!childrenOnly)
        return CountFrom(category);
    return category->IsIncluded() ? CountFrom(category->GetSub()) : 0;
}

int32_t CountChainIncluded(const evCategory* category)
{
    if (!category)
        return 0;
    int32_t count = 0;
    const evCategory* current = category;
    if (category->GetSub()) {
        count = 1;
        current = category->GetSub();
    }
    for (; current; current = current->GetNext()) {
        if (current->IsIncluded())
            ++count;
    }
    return count;
}

int32_t SiblingCount(const evCategory* category)
{
    if (!category)
        return 0;
    while (category->GetPrevious())
        category = category->GetPrevious();
    int32_t count = 0;
    for (; category; category = category->GetNext())
        ++count;
    return count;
}

} // namespace PageOrder
