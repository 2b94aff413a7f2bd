#include "model/evPageLayoutEntry.h"

#include "platform/Stream.h"

evPageLayoutEntry::evPageLayoutEntry(int32_t left, int32_t top, uint8_t flag, int32_t elementId)
    : m_left(left), m_top(top), m_flag(flag), m_elementId(elementId)
{}

// Layout after the evObject header:
//   int32 left, int32 top, int32 flag (low byte kept), int32 element identifier
evPageLayoutEntry::evPageLayoutEntry(Stream& stream, ProgressBar* progress) : evObject(stream, progress)
{
    m_left = stream.ReadInt32();
    m_top = stream.ReadInt32();
    m_flag = static_cast<uint8_t>(stream.ReadInt32() & 0xFF);
    m_elementId = stream.ReadInt32();
}

evPageLayoutEntry::~evPageLayoutEntry() = default;

void evPageLayoutEntry::SaveToStream(Stream& stream) const
{
    evObject::SaveToStream(stream);
    stream.WriteInt32(m_left);
    stream.WriteInt32(m_top);
    stream.WriteInt32(m_flag);
    stream.WriteInt32(m_elementId);
}

std::unique_ptr<evObject> evPageLayoutEntry::Clone() const
{
    return std::make_unique<evPageLayoutEntry>(m_left, m_top, m_flag, m_elementId);
}

std::string evPageLayoutEntry::ToString() const
{
    return "[" + std::to_string(GetID()) + ", " + std::to_string(m_left) + ", " + std::to_string(m_top) + ", " +
           std::to_string(m_flag) + ", " + std::to_string(m_elementId) + "]";
}
