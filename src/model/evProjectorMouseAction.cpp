#include "model/evProjectorMouseAction.h"

#include "platform/Stream.h"

evProjectorMouseAction::evProjectorMouseAction(const TRect& rect, int32_t type, int32_t firstElement,
                                               int32_t secondElement)
    : m_rect(rect), m_type(type), m_firstElement(firstElement), m_secondElement(secondElement)
{}

// Layout after the evObject header:
//   int32 left, top, right, bottom, int32 type, int32 first element, int32 second element
evProjectorMouseAction::evProjectorMouseAction(Stream& stream, ProgressBar* progress) : evObject(stream, progress)
{
    m_rect.Left = stream.ReadInt32();
    m_rect.Top = stream.ReadInt32();
    m_rect.Right = stream.ReadInt32();
    m_rect.Bottom = stream.ReadInt32();
    m_type = stream.ReadInt32();
    m_firstElement = stream.ReadInt32();
    m_secondElement = stream.ReadInt32();
}

evProjectorMouseAction::~evProjectorMouseAction() = default;

void evProjectorMouseAction::SaveToStream(Stream& stream) const
{
    evObject::SaveToStream(stream);
    stream.WriteInt32(m_rect.Left);
    stream.WriteInt32(m_rect.Top);
    stream.WriteInt32(m_rect.Right);
    stream.WriteInt32(m_rect.Bottom);
    stream.WriteInt32(m_type);
    stream.WriteInt32(m_firstElement);
    stream.WriteInt32(m_secondElement);
}

std::string evProjectorMouseAction::ToString() const
{
    return "evProjectorMouseAction[" + std::to_string(m_type) + ", " + std::to_string(m_firstElement) + ", " +
           std::to_string(m_secondElement) + "]";
}
