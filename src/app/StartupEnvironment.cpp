#include "app/StartupEnvironment.h"

#include "audio/BassLibrary.h"
#include "platform/SystemAudio.h"

StartupEnvironment StartupEnvironment::ForProgramFolder(const std::string& folder)
{
    StartupEnvironment environment;
    environment.programFolder = folder;
    environment.systemAudioVersion = [] { return SystemAudioVersion(); };
    environment.systemVolume = [] { return SystemVolume(); };
    environment.startAudioLibrary = [](void* window, int volume) {
        return BassLibrary::Instance().LoadFromResource("bass_dll", window, volume);
    };
    return environment;
}
