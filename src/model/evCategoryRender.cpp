#include "model/evCategory.h"

#include "model/evCategoryEntry.h"
#include "model/evDrawableElement.h"
#include "model/evPageLayout.h"
#include "model/evProjectorPage.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Errors.h"

#include <exception>
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

bool evCategory::DrawThumbnail(const TRect& rect, Canvas& canvas)
{
    const int width = rect.Width();
    const int height = rect.Height();
    if (width <= 0 || height <= 0)
        return false;
    if (!m_preview.Thumbnail(width, height) && !m_preview.ThumbnailFailed()) {
        try {
            const Bitmap page = PagePictureForThumbnail(width);
            Bitmap thumbnail(width, height);
            thumbnail.GetCanvas().StretchDraw(Rect(0, 0, width, height), page);
            m_preview.KeepThumbnail(std::move(thumbnail));
        } catch (const std::exception&) {
            m_preview.SetThumbnailFailed();
        }
    }
    const Bitmap* thumbnail = m_preview.Thumbnail(width, height);
    if (!thumbnail)
        return false;
    canvas.Draw(rect.Left, rect.Top, *thumbnail);
    return true;
}

// The page as its preview file shows it when that is current, else painted afresh for a thumbnail of the width.
Bitmap evCategory::PagePictureForThumbnail(int width)
{
    if (m_preview.IsCurrent()) {
        if (m_preview.RenderFailed())
            throw EVelloraError("The page could not be rendered");
        Bitmap preview;
        preview.LoadFromFile(m_preview.GetFile());
        return preview;
    }
    evPageLayout* layout = GetPageLayout();
    if (!layout)
        throw EVelloraError("The page layout " + std::to_string(m_pageLayoutId) + " is not in the design");
    ClearUserElementMarks();
    PageLayoutBinding binding(*layout, this, layout->GetPreviewFile());
    const double shown = layout->GetWidth() > 0 ? static_cast<double>(width) / layout->GetWidth() : 1.0;
    Bitmap page = layout->Paint(nullptr, false, shown);
    ClearUserElementMarks();
    return page;
}

void evCategory::AssignPreviewTo(Bitmap& target) const { target.LoadFromFile(m_preview.GetFile()); }

std::unique_ptr<evProjectorPage> evCategory::CreatePresentationPage()
{
    auto page = std::make_unique<evProjectorPage>();
    Render(page.get(), true);
    return page;
}
