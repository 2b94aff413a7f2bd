#include "model/evObject.h"

#include "model/ProgressBar.h"
#include "platform/Errors.h"
#include "platform/Stream.h"

void ProgressStep(Stream& stream, ProgressBar* progress)
{
    if (!progress)
        return;
    const int64_t size = stream.Size();
    if (size == 0)
        return;
    const double fraction = static_cast<double>(stream.Position()) / static_cast<double>(size) * 100.0;
    progress->SetPosition(static_cast<int>(fraction));
}

void CheckStoredVersion(Stream& stream, const char* className, int32_t current)
{
    if (stream.Remaining() < 4)
        return; // the header's own read reports the short stream
    const int64_t start = stream.Position();
    const int32_t stored = stream.ReadInt32();
    stream.SetPosition(start);
    if (stored > current)
        throw EReadError(std::string(className) + " version " + std::to_string(stored) +
                         " is newer than this program reads");
    if (stored < 0)
        throw EReadError(std::string(className) + " version " + std::to_string(stored) + " is no version at all");
}

evObject::evObject() = default;

evObject::evObject(Stream& stream, ProgressBar* progress)
{
    ProgressStep(stream, progress);
    m_storedVersion = stream.ReadInt32();
    m_id = stream.ReadInt32();
}

evObject::~evObject() = default;

void evObject::SaveToStream(Stream& stream) const
{
    stream.WriteInt32(GetVersion());
    stream.WriteInt32(m_id);
}

std::string evObject::ToString() const
{
    return "evObject[" + std::to_string(m_id) + ", " + std::to_string(m_storedVersion) + "]";
}

evObject* evObject::FindByID(int32_t id) { return m_id == id ? this : nullptr; }
