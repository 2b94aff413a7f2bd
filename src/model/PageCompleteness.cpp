#include "model/PageCompleteness.h"

#include "model/evActionElement.h"
#include "model/evCategory.h"
#include "model/evPageLayout.h"
#include "model/evPageLayoutEntry.h"
#include "model/evUserPicture.h"
#include "model/evUserTextfield.h"

#include <string>
#include <vector>

namespace {

constexpr int32_t kEnlargeOnHover = 10;

bool IsBlankText(const std::string& text)
{
    for (unsigned char c : text) {
        if (c > ' ')
            return false;
    }
    return true;
}

// Every picture slot that is not fixed needs a user entry, and so does the (fixed) slot an enlarge-on-hover
// action element shows the large picture in.
bool PicturesFilled(const evCategory& category, evPageLayout& layout)
{
    const evObjectCollection& entries = layout.GetEntries();
    for (int32_t i = 0; i < entries.Count(); ++i) {
        const auto* entry = entries.GetItemAs<evPageLayoutEntry>(i);
        const auto* slot = entry ? dynamic_cast<const evUserPicture*>(layout.FindByID(entry->GetElementID())) : nullptr;
        if (slot && slot->GetFixed() == 0 && !category.FindUserEntry(slot->GetID()))
            return false;
    }
    const evObjectCollection& actions = layout.GetActionElements();
    for (int32_t i = 0; i < actions.Count(); ++i) {
        const auto* action = actions.GetItemAs<evActionElement>(i);
        if (!action || action->GetActionType() != kEnlargeOnHover)
            continue;
        const auto* entry = dynamic_cast<const evPageLayoutEntry*>(layout.FindByID(action->GetFirstSlot()));
        const auto* slot = entry ? dynamic_cast<const evUserPicture*>(layout.FindByID(entry->GetElementID())) : nullptr;
        if (slot && !category.FindUserEntry(slot->GetID()))
            return false;
    }
    return true;
}

// A slot whose user element is not a text field counts as not filled.
bool TextsFilled(const evCategory& category, evPageLayout& layout)
{
    const evObjectCollection& entries = layout.GetEntries();
    for (int32_t i = 0; i < entries.Count(); ++i) {
        const auto* entry = entries.GetItemAs<evPageLayoutEntry>(i);
        const auto* slot =
            entry ? dynamic_cast<const evUserTextfield*>(layout.FindByID(entry->GetElementID())) : nullptr;
        if (!slot || slot->GetFixed() != 0)
            continue;
        const auto* text = dynamic_cast<const evUserTextfield*>(category.FindUserElement(slot->GetID()));
        if (!text || IsBlankText(text->GetText()))
            return false;
    }
    return true;
}

bool OwnPageComplete(const evCategory& category)
{
    const int32_t bits = GetCompleteness(category);
    return (bits & (cbLayoutSet | cbNotKind3)) && (bits & (cbPicturesFilled | cbNoPictures)) &&
           (bits & (cbTextsFilled | cbNoTexts));
}

} // namespace

int32_t GetCompleteness(const evCategory& category)
{
    int32_t bits = 0;
    const int32_t kind = category.GetKind();
    if (kind == 3 && category.GetPageLayoutID() != 0)
        bits |= cbLayoutSet;
    if (kind != 3)
        bits |= cbNotKind3;
    evPageLayout* layout = category.GetPageLayout();
    if (!layout)
        return bits;
    const int32_t layoutKind = layout->GetKind();
    if (layoutKind == pkTextOnly)
        bits |= cbNoPictures;
    else if (PicturesFilled(category, *layout))
        bits |= cbPicturesFilled;
    if (layoutKind == pkPictureOnly || layoutKind == pkPictureOnly2 || layoutKind == pkAnimation ||
        layoutKind == pkPictureOther)
        bits |= cbNoTexts;
    else if (TextsFilled(category, *layout))
        bits |= cbTextsFilled;
    return bits;
}

// Walks with a stack of its own, so a deep tree or a long chain cannot exhaust the call stack.
bool IsComplete(const evCategory* category)
{
    std::vector<const evCategory*> stack{category};
    while (!stack.empty()) {
        const evCategory* current = stack.back();
        stack.pop_back();
        if (!current || !OwnPageComplete(*current))
            return false;
        if (current->GetNext() && current->GetNext()->IsIncluded())
            stack.push_back(current->GetNext());
        if (current->GetSub() && current->GetSub()->IsIncluded())
            stack.push_back(current->GetSub());
    }
    return true;
}
