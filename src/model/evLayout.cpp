#include "model/evLayout.h"

#include "model/ObjectStream.h"
#include "model/evPageLayout.h"
#include "model/evPicture.h"
#include "platform/Errors.h"
#include "platform/Stream.h"

evLayout::evLayout(std::string name, std::string description, int32_t pageWidth, int32_t pageHeight)
    : m_name(std::move(name)), m_description(std::move(description)), m_pageWidth(pageWidth), m_pageHeight(pageHeight),
      m_elementsA(std::make_unique<evObjectCollection>()), m_elementsB(std::make_unique<evObjectCollection>()),
      m_elementsC(std::make_unique<evObjectCollection>()), m_pageLayouts(std::make_unique<evObjectCollection>())
{}

// Layout after the evObject header:
//   reference sample picture            version >= 3
//   int32 page width, int32 page height, string name, string description
//   collection A, collection B, collection C, collection page layouts
//   int32 reserved number
//   reference sample picture            version 2 only
//   int32 text colour, int32 background colour      version >= 4
evLayout::evLayout(Stream& stream, ProgressBar* progress) : evObject(stream, progress)
{
    const int32_t version = GetStoredVersion();
    if (version >= 3)
        m_samplePicture = ReadObjectAs<evPicture>(stream, progress);
    m_pageWidth = stream.ReadInt32();
    m_pageHeight = stream.ReadInt32();
    m_name = stream.ReadString();
    m_description = stream.ReadString();
    m_elementsA = std::make_unique<evObjectCollection>(stream, progress);
    m_elementsB = std::make_unique<evObjectCollection>(stream, progress);
    m_elementsC = std::make_unique<evObjectCollection>(stream, progress);
    m_pageLayouts = std::make_unique<evObjectCollection>(stream, progress);
    m_reservedNumber = stream.ReadInt32();
    if (version == 2)
        m_samplePicture = ReadObjectAs<evPicture>(stream, progress);
    if (version >= 4) {
        m_textColour = stream.ReadInt32();
        m_backgroundColour = stream.ReadInt32();
    }
    AdoptPageLayouts();
}

evLayout::~evLayout()
{
    m_pageLayouts.reset();
    m_elementsA.reset();
    m_elementsB.reset();
    m_elementsC.reset();
    m_samplePicture.reset();
}

// Every member of the page-layout list must be a page layout: the design hands them out as such.
void evLayout::AdoptPageLayouts()
{
    for (int32_t i = 0; i < m_pageLayouts->Count(); ++i) {
        auto* pageLayout = m_pageLayouts->GetItemAs<evPageLayout>(i);
        if (!pageLayout)
            throw EReadError(std::string("Unexpected class \"") + m_pageLayouts->GetItem(i)->ClassName() +
                             "\" among the page layouts");
        pageLayout->SetDesign(this);
    }
}

void evLayout::SaveToStream(Stream& stream) const
{
    evObject::SaveToStream(stream);
    WriteObject(stream, m_samplePicture.get());
    stream.WriteInt32(m_pageWidth);
    stream.WriteInt32(m_pageHeight);
    stream.WriteString(m_name);
    stream.WriteString(m_description);
    for (const evObjectCollection* collection :
         {m_elementsA.get(), m_elementsB.get(), m_elementsC.get(), m_pageLayouts.get()}) {
        if (!collection->SaveToStream(stream))
            stream.RaiseWriteFailure();
    }
    stream.WriteInt32(m_reservedNumber);
    stream.WriteInt32(m_textColour);
    stream.WriteInt32(m_backgroundColour);
}

std::string evLayout::ToString() const
{
    return "evLayout[" + std::to_string(GetID()) + ", " + std::to_string(GetVersion()) + ", '" + m_name + "', '" +
           m_description + "', " + std::to_string(m_pageWidth) + ", " + std::to_string(m_pageHeight) + ", " +
           m_elementsA->ToString() + ", " + m_elementsB->ToString() + ", " + m_elementsC->ToString() + ", " +
           m_pageLayouts->ToString() + ", " + std::to_string(m_reservedNumber) + "]";
}

evObject* evLayout::FindByID(int32_t id)
{
    for (const evObjectCollection* collection :
         {m_elementsA.get(), m_elementsB.get(), m_elementsC.get(), m_pageLayouts.get()}) {
        if (evObject* found = collection->FindByID(id))
            return found;
    }
    return nullptr;
}

void evLayout::RemoveReferences(const evObject* object)
{
    m_elementsB->RemoveReferences(object);
    m_elementsA->RemoveReferences(object);
    m_pageLayouts->RemoveReferences(object);
    m_elementsC->RemoveReferences(object);
}

int32_t evLayout::AddPageLayout(std::unique_ptr<evPageLayout> pageLayout)
{
    pageLayout->SetDesign(this);
    return m_pageLayouts->Add(std::move(pageLayout));
}

void evLayout::SetSamplePicture(std::unique_ptr<evPicture> picture) { m_samplePicture = std::move(picture); }

evPageLayout* evLayout::FindPageLayoutByKey(const std::string& key) const
{
    for (int32_t i = 0; i < m_pageLayouts->Count(); ++i) {
        auto* pageLayout = m_pageLayouts->GetItemAs<evPageLayout>(i);
        if (pageLayout && pageLayout->GetKey() == key)
            return pageLayout;
    }
    return nullptr;
}
