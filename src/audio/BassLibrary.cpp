#include "audio/BassLibrary.h"

#include "platform/Errors.h"
#include "platform/Log.h"
#include "platform/Resources.h"
#include "platform/Stream.h"
#include "platform/TempFiles.h"

#include <dlfcn.h>

bool soundAvailable = false;

namespace {
using DWORD = uint32_t;
using QWORD = uint64_t;
using BOOL = int;
constexpr DWORD kFlagLoop = 4;
constexpr const char* kTempTemplate = "bass.dll";
constexpr const char* kResourceName = "BASS_DLL";
} // namespace

struct BassLibrary::EntryPoints {
    DWORD (*GetVersion)() = nullptr;
    BOOL (*Init)(int device, DWORD freq, DWORD flags, void* window) = nullptr;
    BOOL (*SetVolume)(DWORD volume) = nullptr;
    BOOL (*Start)() = nullptr;
    BOOL (*Stop)() = nullptr;
    BOOL (*Free)() = nullptr;
    DWORD (*StreamCreateFile)(BOOL mem, const char* file, DWORD offset, DWORD length, DWORD flags) = nullptr;
    BOOL (*StreamPlay)(DWORD handle, BOOL flush, DWORD flags) = nullptr;
    BOOL (*ChannelStop)(DWORD handle) = nullptr;
    BOOL (*ChannelSetPosition)(DWORD handle, QWORD position) = nullptr;
    DWORD (*ChannelIsActive)(DWORD handle) = nullptr;
    BOOL (*StreamFree)(DWORD handle) = nullptr;
};

BassLibrary::BassLibrary() : m_api(std::make_unique<EntryPoints>()) {}

BassLibrary::~BassLibrary() { Unload(); }

BassLibrary& BassLibrary::Instance()
{
    static BassLibrary library;
    return library;
}

bool BassLibrary::LoadFromResource(std::string_view resourceName, void* window, int volume)
{
    Unload();
    try {
        m_file = UniqueTempFileName(kTempTemplate);
        SaveResourceToFile(resourceName, m_file);
    } catch (const EVelloraError& e) {
        ktLogs::LogLine(std::string("Audio library not written: ") + e.what());
        DeleteFileIfExists(m_file); // the name was taken when it was chosen
        m_file.clear();
        return false;
    }
    return LoadCopy(window, volume);
}

bool BassLibrary::LoadFromFile(const std::string& libraryFile, void* window, int volume)
{
    Unload();
    m_file = UniqueTempFileName(kTempTemplate);
    try {
        FileStream source(libraryFile, FileStream::Mode::OpenRead);
        FileStream copy(m_file, FileStream::Mode::Create);
        copy.CopyFrom(source, source.Size());
        copy.Flush();
    } catch (const EVelloraError& e) {
        ktLogs::LogLine(std::string("Audio library not copied: ") + e.what());
        Unload();
        return false;
    }
    return LoadCopy(window, volume);
}

bool BassLibrary::LoadCopy(void* window, int volume)
{
    m_module = dlopen(m_file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!m_module || !Bind() || !StartOutput(window, volume)) {
        Unload();
        return false;
    }
    return true;
}

// Every entry point must be there; a library that lacks one is not the library the program was built for.
bool BassLibrary::Bind()
{
    auto bind = [this](auto& pointer, const char* name) {
        void* symbol = dlsym(m_module, name);
        pointer = reinterpret_cast<std::remove_reference_t<decltype(pointer)>>(symbol);
        return symbol != nullptr;
    };
    EntryPoints& api = *m_api;
    return bind(api.GetVersion, "BASS_GetVersion") && bind(api.Init, "BASS_Init") &&
           bind(api.SetVolume, "BASS_SetVolume") && bind(api.Start, "BASS_Start") && bind(api.Stop, "BASS_Stop") &&
           bind(api.Free, "BASS_Free") && bind(api.StreamCreateFile, "BASS_StreamCreateFile") &&
           bind(api.StreamPlay, "BASS_StreamPlay") && bind(api.ChannelStop, "BASS_ChannelStop") &&
           bind(api.ChannelSetPosition, "BASS_ChannelSetPosition") &&
           bind(api.ChannelIsActive, "BASS_ChannelIsActive") && bind(api.StreamFree, "BASS_StreamFree");
}

bool BassLibrary::StartOutput(void* window, int volume)
{
    if (m_api->GetVersion() != kSupportedVersion)
        return false;
    if (!m_api->Init(-1, kDefaultFrequency, 0, window))
        return false;
    m_initialised = true;
    m_api->SetVolume(static_cast<DWORD>(volume < 0 ? 0 : volume > 100 ? 100 : volume));
    if (!m_api->Start())
        return false;
    m_started = true;
    return true;
}

void BassLibrary::Unload()
{
    if (m_initialised) {
        m_api->Stop();
        m_api->Free();
    }
    m_initialised = false;
    m_started = false;
    *m_api = EntryPoints();
    if (m_module)
        dlclose(m_module);
    m_module = nullptr;
    if (!m_file.empty())
        DeleteFileIfExists(m_file);
    m_file.clear();
}

uint32_t BassLibrary::StreamCreateFile(const std::string& path, uint32_t flags)
{
    return m_started ? m_api->StreamCreateFile(0, path.c_str(), 0, 0, flags) : 0;
}

bool BassLibrary::StreamPlay(uint32_t stream, bool loop)
{
    return m_started && m_api->StreamPlay(stream, 0, loop ? kFlagLoop : 0) != 0;
}

void BassLibrary::ChannelStop(uint32_t stream)
{
    if (m_started)
        m_api->ChannelStop(stream);
}

void BassLibrary::ChannelSetPosition(uint32_t stream, uint64_t position)
{
    if (m_started)
        m_api->ChannelSetPosition(stream, position);
}

uint32_t BassLibrary::ChannelIsActive(uint32_t stream) { return m_started ? m_api->ChannelIsActive(stream) : 0; }

void BassLibrary::StreamFree(uint32_t stream)
{
    if (m_started)
        m_api->StreamFree(stream);
}

bool AudioReady() { return soundAvailable && BassLibrary::Instance().IsLoaded(); }

bool StartAudio(void* window, int volume)
{
    if (!soundAvailable)
        return false;
    if (!BassLibrary::Instance().LoadFromResource(kResourceName, window, volume))
        soundAvailable = false;
    return soundAvailable;
}

void StopAudio() { BassLibrary::Instance().Unload(); }
