#include "presentation/evActionElement.h"

#include "model/evCategory.h"
#include "model/evCategoryEntry.h"
#include "model/evLayout.h"
#include "model/evObjectCollection.h"
#include "model/evPageLayout.h"
#include "model/evPageLayoutEntry.h"
#include "model/evPicture.h"
#include "model/evProject.h"
#include "model/evUserPicture.h"
#include "model/evUserTextfield.h"
#include "platform/Log.h"
#include "platform/Stream.h"
#include "presentation/evProjectorMouseAction.h"
#include "presentation/evProjectorNaviAction.h"
#include "presentation/evProjectorPage.h"
#include "presentation/evProjectorPageElement.h"
#include "presentation/evProjectorSliderElement.h"

#include <algorithm>
#include <vector>

evActionElement::evActionElement(std::string name, int32_t actionType, int32_t x, int32_t y, int32_t width,
                                 int32_t height)
    : m_name(std::move(name)), m_actionType(actionType), m_x(x), m_y(y), m_width(width), m_height(height)
{
    ktLogs::LogLine("evActionElement created.");
}

// Layout after the evObject header:
//   string name
//   int32 X, Y, width, height
//   int32 action type
//   int32 first slot, second slot, label      version >= 1
//   int32 value A, value B                    version >= 2
evActionElement::evActionElement(Stream& stream, ProgressBar* progress) : evObject(stream, progress)
{
    m_name = stream.ReadString();
    m_x = stream.ReadInt32();
    m_y = stream.ReadInt32();
    m_width = stream.ReadInt32();
    m_height = stream.ReadInt32();
    m_actionType = stream.ReadInt32();
    if (GetStoredVersion() >= 1) {
        m_firstSlot = stream.ReadInt32();
        m_secondSlot = stream.ReadInt32();
        m_label = stream.ReadInt32();
    }
    if (GetStoredVersion() >= 2) {
        m_valueA = stream.ReadInt32();
        m_valueB = stream.ReadInt32();
    }
    ktLogs::LogLine("evActionElement created from stream.");
}

evActionElement::~evActionElement() { ktLogs::LogLine("evActionElement destroyed."); }

void evActionElement::SaveToStream(Stream& stream) const
{
    evObject::SaveToStream(stream);
    stream.WriteString(m_name);
    stream.WriteInt32(m_x);
    stream.WriteInt32(m_y);
    stream.WriteInt32(m_width);
    stream.WriteInt32(m_height);
    stream.WriteInt32(m_actionType);
    stream.WriteInt32(m_firstSlot);
    stream.WriteInt32(m_secondSlot);
    stream.WriteInt32(m_label);
    stream.WriteInt32(m_valueA);
    stream.WriteInt32(m_valueB);
}

std::unique_ptr<evObject> evActionElement::Clone() const
{
    auto copy = std::make_unique<evActionElement>(m_name, m_actionType, m_x, m_y, m_width, m_height);
    copy->m_firstSlot = m_firstSlot;
    copy->m_secondSlot = m_secondSlot;
    copy->m_label = m_label;
    copy->m_valueA = m_valueA;
    copy->m_valueB = m_valueB;
    return copy;
}

std::string evActionElement::ToString() const
{
    std::string text = "evActionElement[" + std::to_string(GetID()) + ", " + std::to_string(GetStoredVersion());
    for (int32_t value : {m_x, m_y, m_width, m_height, m_actionType, m_firstSlot, m_secondSlot, m_label, m_valueA,
                          m_valueB})
        text += ", " + std::to_string(value);
    return text + "]";
}


void evActionElement::Draw(const TRect&, Canvas&, bool, evProjectorPage*) {}
