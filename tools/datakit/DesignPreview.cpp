#include "DesignPreview.h"

#include "SamplePhotographs.h"
#include "model/PageOrder.h"
#include "model/evActionElement.h"
#include "model/evCategory.h"
#include "model/evCategoryEntry.h"
#include "model/evLayout.h"
#include "model/evPageLayout.h"
#include "model/evPageLayoutEntry.h"
#include "model/evPicture.h"
#include "model/evProject.h"
#include "model/evProjectorPage.h"
#include "model/evUserPicture.h"
#include "platform/Bitmap.h"

#include <QDate>

namespace {

constexpr const char* kChapters[] = {"Getting ready", "The ceremony",       "Portraits of the couple",
                                     "The reception", "Friends and family", "The evening party"};
constexpr int kChapterWithSubs = 3;
constexpr int kPhotosPerShow = 5;

std::unique_ptr<evCategory> Chapter(const char* title, int32_t kind)
{
    return std::make_unique<evCategory>(title, "", false, kind);
}

std::unique_ptr<evCategory> SampleTree()
{
    auto welcome = Chapter("Welcome", 1);
    auto chapters = Chapter("Our wedding day", 1);
    for (const char* title : kChapters)
        chapters->AddChild(Chapter(title, 3));
    evCategory* withSubs = chapters->GetSub();
    for (int i = 0; i < kChapterWithSubs; ++i)
        withSubs = withSubs->GetNext();
    withSubs->AddChild(Chapter("First dance", 3));
    withSubs->AddChild(Chapter("Speeches and toasts", 3));
    welcome->AppendSibling(std::move(chapters));
    welcome->AppendSibling(Chapter("Thank you", 1));
    return welcome;
}

evPageLayoutEntry* EntryOf(evPageLayout& layout, int32_t entryId)
{
    return dynamic_cast<evPageLayoutEntry*>(layout.FindByID(entryId));
}

evUserPicture* SlotOf(evPageLayout& layout, int32_t entryId)
{
    evPageLayoutEntry* entry = EntryOf(layout, entryId);
    return entry ? dynamic_cast<evUserPicture*>(layout.FindByID(entry->GetElementID())) : nullptr;
}

} // namespace

DesignPreview::DesignPreview(std::unique_ptr<evLayout> design)
{
    const double date = QDate(1899, 12, 30).daysTo(QDate(2025, 6, 14));
    m_project = std::make_unique<evProject>("Anna", "Ben", date, design->GetName() + ".evl", SampleTree());
    m_project->SetDesign(std::move(design));
    auto discLabel = std::make_unique<evCategory>("cd label", "", true, 3);
    discLabel->SetProject(m_project.get());
    m_project->SetDiscLabelCategory(std::move(discLabel));
    m_project->GiveTreeProject();

    // Every chapter needs a page layout to be listed in chapter menus; any ordinary one will do.
    const evObjectCollection& layouts = Design().GetPageLayouts();
    int32_t ordinary = 0;
    for (int32_t i = 0; i < layouts.Count() && ordinary == 0; ++i) {
        const auto* layout = layouts.GetItemAs<evPageLayout>(i);
        if (layout && layout->GetKey().empty())
            ordinary = layout->GetID();
    }
    std::vector<evCategory*> all;
    PageOrder::Flatten(m_project->GetFirstCategory(), all, false);
    for (evCategory* category : all)
        category->SetPageLayoutID(ordinary);
}

DesignPreview::~DesignPreview() = default;

evLayout& DesignPreview::Design() const { return *m_project->GetDesign(); }

evCategory* DesignPreview::CategoryFor(const evPageLayout& layout) const
{
    evCategory* welcome = m_project->GetFirstCategory();
    if (layout.GetKey() == "W")
        return welcome;
    if (layout.GetKey() == "M")
        return welcome->GetNext();
    if (layout.GetKey() == "E")
        return welcome->GetNext()->GetNext();
    if (layout.GetKey() == "cd")
        return m_project->GetDiscLabelCategory();
    evCategory* chapter = welcome->GetNext()->GetSub();
    for (int i = 0; i < kChapterWithSubs; ++i)
        chapter = chapter->GetNext();
    return chapter;
}

void DesignPreview::AddPhoto(evObjectCollection& content, int32_t slotId, int width, int height)
{
    const QImage photo = SamplePhotographs::Paint(m_scene++, QSize(width, height));
    content.Add(std::make_unique<evCategoryEntry>(slotId, std::make_unique<evPicture>("sample", Bitmap(photo))));
}

std::unique_ptr<evObjectCollection> DesignPreview::SampleContent(evPageLayout& layout)
{
    auto content = std::make_unique<evObjectCollection>();
    const evObjectCollection& own = layout.GetOwnElements();
    for (int32_t i = 0; i < own.Count(); ++i) {
        const auto* slot = own.GetItemAs<evUserPicture>(i);
        if (!slot || slot->GetFixed() != 0)
            continue;
        // Every second slot that can turn a photograph gets one of the other orientation.
        const bool turn = slot->GetAlternateFrameID() != 0 && (m_turnable++ % 2 == 1);
        AddPhoto(*content, slot->GetID(), turn ? slot->GetHeight() : slot->GetWidth(),
                 turn ? slot->GetWidth() : slot->GetHeight());
    }
    const evObjectCollection& actions = layout.GetActionElements();
    for (int32_t i = 0; i < actions.Count(); ++i) {
        const auto* action = actions.GetItemAs<evActionElement>(i);
        if (!action)
            continue;
        const int type = action->GetActionType();
        const evUserPicture* first = SlotOf(layout, action->GetFirstSlot());
        const evUserPicture* second = SlotOf(layout, action->GetSecondSlot());
        const evUserPicture* size = second ? second : first;
        if ((type == 15 || type == 16) && size) {
            for (int k = 0; k < kPhotosPerShow; ++k)
                AddPhoto(*content, action->GetID(), size->GetWidth(), size->GetHeight());
        } else if (type == 24 && first) {
            AddPhoto(*content, action->GetID(), first->GetWidth(), first->GetHeight());
        } else if (type == 10 && first && first->GetFixed() != 0) {
            AddPhoto(*content, first->GetID(), size->GetWidth(), size->GetHeight());
        }
    }
    return content;
}

// Binds the page layout to its chapter holding sample content for the time of the drawing, as a category does when
// its page is rendered, and unbinds it again whatever happens.
void DesignPreview::RenderBound(evPageLayout& layout, evProjectorPage* page)
{
    evCategory* category = CategoryFor(layout);
    category->SetPageLayoutID(layout.GetID());
    std::unique_ptr<evObjectCollection> previous = category->SetUserElements(SampleContent(layout));
    layout.SetCategory(category);
    try {
        layout.Render(page, true);
    } catch (...) {
        layout.SetCategory(nullptr);
        category->SetUserElements(std::move(previous));
        throw;
    }
    layout.SetCategory(nullptr);
    category->SetUserElements(std::move(previous));
}

QImage DesignPreview::RenderFilled(evPageLayout& layout)
{
    RenderBound(layout, nullptr);
    Bitmap bitmap;
    bitmap.LoadFromFile(layout.GetPreviewFile());
    return bitmap.ToQImage();
}

std::unique_ptr<evProjectorPage> DesignPreview::PresentationPage(evPageLayout& layout)
{
    auto page = std::make_unique<evProjectorPage>();
    RenderBound(layout, page.get());
    return page;
}

QImage DesignPreview::RenderEmpty(evPageLayout& layout)
{
    layout.RenderPreview();
    Bitmap bitmap;
    bitmap.LoadFromFile(layout.GetPreviewFile());
    return bitmap.ToQImage();
}
