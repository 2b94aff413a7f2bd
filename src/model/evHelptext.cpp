#include "model/evHelptext.h"

#include "platform/Stream.h"

evHelptext::evHelptext(std::string name, int32_t number, std::string text)
    : m_name(std::move(name)), m_number(number), m_text(std::move(text))
{}

// Layout after the evObject header:
//   string name, int32 number, string text
evHelptext::evHelptext(Stream& stream, ProgressBar* progress) : evObject(stream, progress)
{
    m_name = stream.ReadString();
    m_number = stream.ReadInt32();
    m_text = stream.ReadString();
}

evHelptext::~evHelptext() = default;

void evHelptext::SaveToStream(Stream& stream) const
{
    evObject::SaveToStream(stream);
    stream.WriteString(m_name);
    stream.WriteInt32(m_number);
    stream.WriteString(m_text);
}

std::unique_ptr<evObject> evHelptext::Clone() const { return std::make_unique<evHelptext>(m_name, m_number, m_text); }

std::string evHelptext::ToString() const
{
    return "evHelptext[" + std::to_string(GetID()) + ", " + std::to_string(GetStoredVersion()) + ", '" + m_name +
           "', " + std::to_string(m_number) + ", '" + m_text + "']";
}
