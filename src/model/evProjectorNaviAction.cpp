#include "model/evProjectorNaviAction.h"

#include "platform/Stream.h"

evProjectorNaviAction::evProjectorNaviAction(const TRect& rect, int32_t target)
    : evProjectorNaviAction(rect, target, -1, -1)
{}

evProjectorNaviAction::evProjectorNaviAction(const TRect& rect, int32_t target, int32_t firstElement,
                                             int32_t secondElement)
    : m_rect(rect), m_target(target), m_firstElement(firstElement), m_secondElement(secondElement)
{}

// Layout after the evObject header:
//   int32 left, top, right, bottom, int32 reserved, int32 target
evProjectorNaviAction::evProjectorNaviAction(Stream& stream, ProgressBar* progress) : evObject(stream, progress)
{
    m_rect.Left = stream.ReadInt32();
    m_rect.Top = stream.ReadInt32();
    m_rect.Right = stream.ReadInt32();
    m_rect.Bottom = stream.ReadInt32();
    m_reserved = stream.ReadInt32();
    m_target = stream.ReadInt32();
}

evProjectorNaviAction::~evProjectorNaviAction() = default;

void evProjectorNaviAction::SaveToStream(Stream& stream) const
{
    evObject::SaveToStream(stream);
    stream.WriteInt32(m_rect.Left);
    stream.WriteInt32(m_rect.Top);
    stream.WriteInt32(m_rect.Right);
    stream.WriteInt32(m_rect.Bottom);
    stream.WriteInt32(m_reserved);
    stream.WriteInt32(m_target);
}

std::string evProjectorNaviAction::ToString() const
{
    return "evProjectorNaviAction[" + std::to_string(m_reserved) + ", " + std::to_string(m_target) + "]";
}
