#include "model/evCategoryEntry.h"

#include "model/ObjectStream.h"
#include "model/evPicture.h"
#include "model/evUserTextfield.h"
#include "platform/Stream.h"

evCategoryEntry::evCategoryEntry(int32_t slotId, std::unique_ptr<evObject> element)
    : m_slotId(slotId), m_element(std::move(element))
{}

// Layout after the evObject header:
//   int32 slot identifier, reference element (read without the progress bar)
evCategoryEntry::evCategoryEntry(Stream& stream, ProgressBar* progress) : evObject(stream, progress)
{
    m_slotId = stream.ReadInt32();
    m_element = ReadObject(stream, nullptr);
}

evCategoryEntry::~evCategoryEntry() = default;

void evCategoryEntry::SaveToStream(Stream& stream) const
{
    evObject::SaveToStream(stream);
    stream.WriteInt32(m_slotId);
    WriteObject(stream, m_element.get());
}

std::unique_ptr<evObject> evCategoryEntry::Clone() const
{
    std::unique_ptr<evObject> element;
    if (dynamic_cast<const evPicture*>(m_element.get()) || dynamic_cast<const evUserTextfield*>(m_element.get()))
        element = m_element->Clone();
    return std::make_unique<evCategoryEntry>(m_slotId, std::move(element));
}

std::string evCategoryEntry::ToString() const
{
    return "evCategoryEntry[" + std::to_string(GetID()) + ", " + std::to_string(GetStoredVersion()) + ", " +
           std::to_string(m_slotId) + ", " + (m_element ? m_element->ToString() : std::string("nil")) + "]";
}

std::unique_ptr<evObject> evCategoryEntry::SetElement(std::unique_ptr<evObject> element)
{
    std::swap(element, m_element);
    return element;
}
