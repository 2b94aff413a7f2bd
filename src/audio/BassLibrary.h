#pragma once
// The binding to the audio library. The program carries the library as its resource "BASS_DLL", writes it to a
// temporary file of its own at start-up, loads it from there and looks every entry point up by its exported name.
// Any step that fails leaves audio unavailable; nothing of a failed attempt stays loaded or on disk.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// Set while audio may be used: start-up sets it and clears it for the rest of the run when any audio step fails.
// Every playback operation is skipped while it is false.
extern bool soundAvailable;

class BassLibrary {
public:
    // Version 1.8: high word 8, low word 1.
    static constexpr uint32_t kSupportedVersion = 0x00080001;
    static constexpr uint32_t kDefaultFrequency = 44100;

    BassLibrary();
    ~BassLibrary();
    BassLibrary(const BassLibrary&) = delete;
    BassLibrary& operator=(const BassLibrary&) = delete;

    // The library that music and speech play through.
    static BassLibrary& Instance();

    // Copies the named resource to UniqueTempFileName("bass.dll"), binds the entry points, checks the version,
    // initialises the default device (44100 Hz, no flags, the given window), sets the volume (0 to 100) and
    // starts the output. False when any of it fails.
    bool LoadFromResource(std::string_view resourceName, void* window, int volume);
    // The same for a library file on disk, which is copied first exactly like the resource.
    bool LoadFromFile(const std::string& libraryFile, void* window, int volume);
    // Stops and frees the output when it was started, unloads the library and deletes the temporary copy.
    void Unload();

    bool IsLoaded() const { return m_started; }
    // The temporary copy of the library; empty while none is loaded.
    const std::string& GetLibraryFile() const { return m_file; }

    // The entry points the program plays through; each does nothing and returns 0 while nothing is loaded.
    uint32_t StreamCreateFile(const std::string& path, uint32_t flags);
    bool StreamPlay(uint32_t stream, bool loop);
    void ChannelStop(uint32_t stream);
    void ChannelSetPosition(uint32_t stream, uint64_t position);
    uint32_t ChannelIsActive(uint32_t stream);
    void StreamFree(uint32_t stream);

private:
    struct EntryPoints;

    bool LoadCopy(void* window, int volume);
    bool Bind();
    bool StartOutput(void* window, int volume);

    void* m_module = nullptr;
    std::unique_ptr<EntryPoints> m_api;
    std::string m_file;
    bool m_initialised = false;
    bool m_started = false;
};

// True while playback may go through BassLibrary::Instance(): sound is available and the library is loaded.
bool AudioReady();

// Start-up's audio step: loads the program's own library (resource "BASS_DLL") into BassLibrary::Instance().
// Skipped while soundAvailable is clear; a failure clears it. Returns soundAvailable afterwards.
bool StartAudio(void* window, int volume);
// End of the program: stops the output, unloads the library and deletes its temporary copy.
void StopAudio();
