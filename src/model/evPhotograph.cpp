#include "model/evPhotograph.h"

#include "model/evCategory.h"
#include "model/evCategoryEntry.h"
#include "model/evDrawableElement.h"
#include "model/evPageLayout.h"
#include "model/evProjectorPage.h"
#include "model/evUserTextfield.h"
#include "platform/Errors.h"
#include "platform/Stream.h"
#include "platform/TempFiles.h"

namespace {

// Lends the record's content and preview file to its page layout through a temporary category for one
// rendering, and takes everything back afterwards, also when the rendering fails.
class StudioBinding {
public:
    StudioBinding(evPageLayout& layout, std::unique_ptr<evObjectCollection>& elements, const std::string& preview)
        : m_layout(layout), m_elements(elements), m_category("", "", false, 3),
          m_ownPreviewFile(layout.GetPreviewFile())
    {
        m_categoryOwnList = m_category.SetUserElements(std::move(m_elements));
        m_layout.SetCategory(&m_category);
        m_layout.SetPreviewFile(preview);
    }
    ~StudioBinding()
    {
        m_layout.SetPreviewFile(m_ownPreviewFile);
        m_layout.SetCategory(nullptr);
        m_elements = m_category.SetUserElements(std::move(m_categoryOwnList));
    }
    StudioBinding(const StudioBinding&) = delete;
    StudioBinding& operator=(const StudioBinding&) = delete;

private:
    evPageLayout& m_layout;
    std::unique_ptr<evObjectCollection>& m_elements;
    evCategory m_category;
    std::unique_ptr<evObjectCollection> m_categoryOwnList;
    std::string m_ownPreviewFile;
};

} // namespace

evPhotograph::evPhotograph(evPageLayout* pageLayout)
    : m_userElements(std::make_unique<evObjectCollection>()), m_pageLayout(pageLayout)
{}

// Layout after the evObject header:
//   10 x int32 slot identifiers (logo, sample 1, sample 2, intro, web address, address, e-mail, studio, phone,
//   information), collection user elements
evPhotograph::evPhotograph(Stream& stream, ProgressBar* progress) : evObject(stream, progress)
{
    for (int32_t& slot : m_slots)
        slot = stream.ReadInt32();
    m_userElements = std::make_unique<evObjectCollection>(stream, progress);
}

evPhotograph::~evPhotograph()
{
    m_userElements.reset();
    DeleteFileIfExists(m_previewFile);
}

void evPhotograph::SaveToStream(Stream& stream) const
{
    evObject::SaveToStream(stream);
    for (int32_t slot : m_slots)
        stream.WriteInt32(slot);
    if (!m_userElements->SaveToStream(stream))
        stream.RaiseWriteFailure();
}

std::string evPhotograph::ToString() const
{
    return "evPhotograph[ID " + std::to_string(GetID()) + ", VER " + std::to_string(GetStoredVersion()) + ", ";
}

int32_t evPhotograph::GetSampleSlot(int sample) const
{
    if (sample != 1 && sample != 2)
        throw EListError("There is no sample " + std::to_string(sample));
    return m_slots[sample == 1 ? kSample1 : kSample2];
}

void evPhotograph::SetSampleSlot(int sample, int32_t id)
{
    if (sample != 1 && sample != 2)
        throw EListError("There is no sample " + std::to_string(sample));
    m_slots[sample == 1 ? kSample1 : kSample2] = id;
}

void evPhotograph::AddUserElement(int32_t slotId, std::unique_ptr<evObject> element)
{
    m_userElements->Add(std::make_unique<evCategoryEntry>(slotId, std::move(element)));
}

evCategoryEntry* evPhotograph::FindUserEntry(int32_t slotId) const
{
    for (int32_t i = 0; i < m_userElements->Count(); ++i) {
        auto* entry = m_userElements->GetItemAs<evCategoryEntry>(i);
        if (entry && entry->GetSlotID() == slotId)
            return entry;
    }
    return nullptr;
}

evObject* evPhotograph::FindUserElement(int32_t slotId) const
{
    evCategoryEntry* entry = FindUserEntry(slotId);
    return entry ? entry->GetElement() : nullptr;
}

evUserTextfield* evPhotograph::TextAt(int32_t slotId) const
{
    return dynamic_cast<evUserTextfield*>(FindUserElement(slotId));
}

bool evPhotograph::Render(evProjectorPage* page)
{
    if (!m_pageLayout)
        throw EVelloraError("The studio record has no page layout to render");
    for (int32_t i = 0; i < m_userElements->Count(); ++i) {
        auto* entry = m_userElements->GetItemAs<evCategoryEntry>(i);
        if (auto* element = entry ? dynamic_cast<evDrawableElement*>(entry->GetElement()) : nullptr)
            element->ClearPainted();
    }
    if (m_previewFile.empty()) {
        m_previewFile = UniqueTempFileName("evph.evp");
        FileStream reserve(m_previewFile, FileStream::Mode::Create);
    }
    StudioBinding binding(*m_pageLayout, m_userElements, m_previewFile);
    m_pageLayout->Render(page, true);
    return true;
}

std::unique_ptr<evProjectorPage> evPhotograph::CreatePresentationPage()
{
    auto page = std::make_unique<evProjectorPage>();
    Render(page.get());
    return page;
}
