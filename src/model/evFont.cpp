#include "model/evFont.h"

#include "platform/Errors.h"
#include "platform/Fonts.h"
#include "platform/Log.h"
#include "platform/Stream.h"
#include "platform/TempFiles.h"

#include <memory>

// Layout after the evObject header:
//   string file name, string face name, int32 N, N bytes font file
evFont::evFont(Stream& stream, ProgressBar* progress) : evObject(stream, progress)
{
    m_fileName = stream.ReadString();
    m_faceName = stream.ReadString();
    const int32_t length = stream.ReadInt32();
    m_data = stream.ReadBytes(length);
    WriteTempFile();
    if (Fonts::IsInstalled(m_faceName))
        return;
    m_registered = Fonts::AddFontFile(m_tempPath);
    if (!m_registered)
        ktLogs::LogLine("evFont: the font file could not be registered.");
}

evFont::~evFont()
{
    if (m_registered)
        Fonts::RemoveFontFile(m_tempPath);
    DeleteFileIfExists(m_tempPath);
}

namespace {
// A stored name may hold any bytes; control bytes (a NUL above all, which would cut the path short when the
// system sees it) are replaced, so the file created and the file deleted are always the same.
std::string SafeTemplate(const std::string& fileName)
{
    std::string name = fileName;
    for (char& c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = '_';
    }
    return name;
}
} // namespace

// The copy goes to a unique name made from the bare file name, so a stored name with folders or ".." stays
// inside the temporary folder. A copy that cannot be written completely is removed again before the error
// leaves the constructor (the destructor does not run for a half-built font).
void evFont::WriteTempFile()
{
    m_tempPath = UniqueTempFileName(SafeTemplate(m_fileName));
    auto file = std::make_unique<FileStream>(m_tempPath, FileStream::Mode::Create);
    try {
        file->WriteBuffer(m_data.data(), static_cast<int64_t>(m_data.size()));
        file->Flush();
    } catch (...) {
        file.reset();
        DeleteFileIfExists(m_tempPath);
        throw;
    }
}

void evFont::SaveToStream(Stream& stream) const
{
    evObject::SaveToStream(stream);
    stream.WriteString(m_fileName);
    stream.WriteString(m_faceName);
    stream.WriteInt32(static_cast<int32_t>(m_data.size()));
    stream.WriteBytes(m_data);
}

std::string evFont::ToString() const
{
    return "[" + std::to_string(GetID()) + ", " + std::to_string(GetStoredVersion()) + ", '" + m_faceName + "', '" +
           m_fileName + "']";
}
