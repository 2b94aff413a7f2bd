#include "presentation/DiscLabel.h"

#include "model/evCategory.h"
#include "model/evLayout.h"
#include "model/evPageLayout.h"
#include "model/evProject.h"
#include "model/evUserPicture.h"
#include "model/evUserTextfield.h"
#include "platform/Bitmap.h"
#include "platform/Errors.h"
#include "platform/Log.h"

namespace {

template <class Slot>
Slot* FirstFree(const evPageLayout& layout)
{
    const evObjectCollection& elements = layout.GetOwnElements();
    for (int32_t i = 0; i < elements.Count(); ++i) {
        auto* slot = dynamic_cast<Slot*>(elements.GetItem(i));
        if (slot && slot->GetFixed() == 0)
            return slot;
    }
    return nullptr;
}

} // namespace

evPageLayout* DiscLabelPageLayout(const evProject& project)
{
    const evCategory* category = project.GetDiscLabelCategory();
    return category ? category->GetPageLayout() : nullptr;
}

// The category draws its page stretched into the square first, which renders its preview file when needed; the
// label then is the preview itself, cut to the label's width, so it keeps the page's own pixels.
Bitmap RenderDiscLabel(const evProject& project)
{
    const evLayout* design = project.GetDesign();
    if (!design || design->GetPageWidth() <= 0 || design->GetPageHeight() <= 0)
        return Bitmap();
    Bitmap label(design->GetPageWidth(), design->GetPageHeight());
    label.SetSize(kDiscLabelWidth, design->GetPageHeight());
    evCategory* category = project.GetDiscLabelCategory();
    if (!category || !category->DrawPreview(Rect(0, 0, kDiscLabelWidth, kDiscLabelWidth), label.GetCanvas(), false))
        return Bitmap(kDiscLabelWidth, design->GetPageHeight());
    try {
        Bitmap preview;
        category->AssignPreviewTo(preview);
        preview.SetSize(kDiscLabelWidth, preview.Height());
        return preview;
    } catch (const EVelloraError& e) {
        ktLogs::LogLine(std::string("Disc label not loaded: ") + e.what());
        return Bitmap(kDiscLabelWidth, design->GetPageHeight());
    }
}

evUserPicture* FreePictureSlot(const evPageLayout& layout) { return FirstFree<evUserPicture>(layout); }

evUserTextfield* FreeTextSlot(const evPageLayout& layout) { return FirstFree<evUserTextfield>(layout); }
