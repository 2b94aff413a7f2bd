#include "model/evProjector.h"

#include "model/evObjectCollection.h"
#include "model/evProjectorPage.h"
#include "platform/Errors.h"
#include "platform/Stream.h"

evProjector::evProjector() : m_pages(std::make_unique<evObjectCollection>()) {}

// Layout after the evObject header:
//   collection pages
evProjector::evProjector(Stream& stream, ProgressBar* progress) : evObject(stream, progress)
{
    m_pages = std::make_unique<evObjectCollection>(stream, progress);
    for (int32_t i = 0; i < m_pages->Count(); ++i) {
        if (!m_pages->GetItemAs<evProjectorPage>(i))
            throw EReadError(std::string("Unexpected class \"") + m_pages->GetItem(i)->ClassName() +
                             "\" among the pages of a presentation");
    }
}

evProjector::~evProjector()
{
    m_companion.reset();
    m_pages.reset();
}

void evProjector::SaveToStream(Stream& stream) const
{
    evObject::SaveToStream(stream);
    if (!m_pages->SaveToStream(stream))
        stream.RaiseWriteFailure();
}

std::string evProjector::ToString() const { return "evProjector[" + m_pages->ToString() + "]"; }
