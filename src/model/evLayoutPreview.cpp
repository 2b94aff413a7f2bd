#include "model/evLayoutPreview.h"

#include "model/ObjectStream.h"
#include "model/evPicture.h"
#include "platform/Stream.h"

// Layout: the head of an evLayout body, from the file's first byte:
//   int32 version, int32 identifier
//   reference sample picture            version >= 3
//   int32 page width, int32 page height, string name, string description
// Reading stops there.
evLayoutPreview::evLayoutPreview(Stream& stream, std::string fileName)
    : evObject(stream, nullptr), m_fileName(std::move(fileName))
{
    if (GetStoredVersion() >= 3)
        m_samplePicture = ReadObjectAs<evPicture>(stream, nullptr);
    m_pageWidth = stream.ReadInt32();
    m_pageHeight = stream.ReadInt32();
    m_name = stream.ReadString();
    m_description = stream.ReadString();
}

evLayoutPreview::~evLayoutPreview() = default;

std::string evLayoutPreview::ToString() const
{
    return "evLayoutPreview[" + std::to_string(GetID()) + ", " + std::to_string(GetStoredVersion()) + ", '" + m_name +
           "', '" + m_description + "', '" + m_fileName + "', " + std::to_string(m_pageWidth) + ", " +
           std::to_string(m_pageHeight) + "]";
}
