#include "model/ClassRegistry.h"

#include "platform/Errors.h"
#include "platform/Text.h"

ClassRegistry& ClassRegistry::Instance()
{
    static ClassRegistry registry;
    return registry;
}

bool ClassRegistry::IsRegistered(std::string_view name) const { return m_readers.find(name) != m_readers.end(); }

void ClassRegistry::Unregister(std::string_view name)
{
    const auto it = m_readers.find(name);
    if (it != m_readers.end())
        m_readers.erase(it);
}

void ClassRegistry::Add(std::string_view name, Reader reader) { m_readers[std::string(name)] = reader; }

std::unique_ptr<evObject> ClassRegistry::Read(std::string_view name, Stream& stream, ProgressBar* progress) const
{
    const auto it = m_readers.find(name);
    if (it == m_readers.end())
        throw EReadError("Unknown class \"" + ToDisplayUtf8(name.substr(0, 64)) + "\" in the stream");
    return it->second(stream, progress);
}
