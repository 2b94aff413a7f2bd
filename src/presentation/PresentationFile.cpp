#include "presentation/PresentationFile.h"

#include "model/ObjectStream.h"
#include "model/evProjectorPage.h"
#include "platform/Errors.h"
#include "platform/Stream.h"

#include <cstring>

namespace {
// The smallest page body: the evObject header, three empty collections, page type and slide interval.
constexpr int64_t kMinimumPageBytes = 28;
} // namespace

PresentationFile::PresentationFile() = default;
PresentationFile::~PresentationFile() = default;

std::unique_ptr<PresentationFile> PresentationFile::Read(Stream& stream)
{
    auto file = std::make_unique<PresentationFile>();
    file->background = stream.ReadInt32();
    const int32_t count = stream.ReadInt32();
    if (count < 0)
        throw EReadError("Stream read error: negative page count");
    if (count > stream.Remaining() / kMinimumPageBytes)
        throw EReadError("Stream read error: more pages than the file holds");
    for (int32_t i = 0; i < count; ++i)
        file->pages.push_back(ReadBody<evProjectorPage>(stream, nullptr));
    file->music = ReadObject(stream);
    if (file->music && std::strcmp(file->music->ClassName(), kMusicClass) != 0)
        throw EReadError(std::string("Unexpected class \"") + file->music->ClassName() + "\" in place of the music");
    file->studio = ReadObjectAs<evProjectorPage>(stream);
    file->studioDuration = stream.ReadInt32();
    return file;
}

std::unique_ptr<PresentationFile> PresentationFile::ReadFromFile(const std::string& path)
{
    FileStream stream(path, FileStream::Mode::OpenRead);
    const std::string what = "The presentation file \"" + path + "\"";
    std::unique_ptr<PresentationFile> file = ReadNamingFile(what, path, [&] { return Read(stream); });
    stream.ExpectEnd(what);
    return file;
}

void PresentationFile::Write(Stream& stream) const
{
    stream.WriteInt32(background);
    stream.WriteInt32(static_cast<int32_t>(pages.size()));
    for (const auto& page : pages)
        page->SaveToStream(stream);
    WriteObject(stream, music.get());
    WriteObject(stream, studio.get());
    stream.WriteInt32(studioDuration);
}
