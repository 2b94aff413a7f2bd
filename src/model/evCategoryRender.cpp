#include "model/evCategory.h"

#include "model/evCategoryEntry.h"
#include "model/evDrawableElement.h"
#include "model/evPageLayout.h"
#include "model/evProjectorPage.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Errors.h"

#include <string>

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

bool evCategory::Render(evProjectorPage* page, bool markEmpty)
{
    if (m_preview.IsCurrent() && !page)
        return !m_preview.RenderFailed();
    bool rendered = false;
    try {
        evPageLayout* layout = GetPageLayout();
        if (!layout)
            throw EVelloraError("The page layout " + std::to_string(m_pageLayoutId) + " is not in the design");
        ClearUserElementMarks();
        PageLayoutBinding binding(*layout, this, m_preview.ReserveFile());
        layout->Render(page, markEmpty);
        rendered = true;
    } catch (const std::exception&) {
        // Rendering never raises to the caller: a page that cannot be rendered has no usable preview.
    }
    m_preview.SetRendered(rendered);
    return rendered;
}

bool evCategory::DrawPreview(const TRect& rect, Canvas& canvas, bool markEmpty)
{
    ClearUserElementMarks();
    if (!Render(nullptr, markEmpty))
        return false;
    try {
        Bitmap preview;
        preview.LoadFromFile(m_preview.GetFile());
        canvas.FillRect(rect);
        canvas.StretchDraw(rect, preview);
    } catch (const EVelloraError&) {
        return false;
    }
    return true;
}

void evCategory::AssignPreviewTo(Bitmap& target) const { target.LoadFromFile(m_preview.GetFile()); }

std::unique_ptr<evProjectorPage> evCategory::CreatePresentationPage()
{
    auto page = std::make_unique<evProjectorPage>();
    Render(page.get(), true);
    return page;
}

