#include "app/StartupEnvironment.h"

#include "audio/BassLibrary.h"
#include "platform/SystemAudio.h"

StartupEnvironment StartupEnvironment::ForFolders(const ProgramFolders& folders)
{
    StartupEnvironment environment;
    environment.folders = folders;
    environment.systemAudioVersion = [] { return SystemAudioVersion(); };
    environment.systemVolume = [] { return SystemVolume(); };
    environment.startAudioLibrary = [](void* window, int volume) {
        return BassLibrary::Instance().LoadFromResource("bass_dll", window, volume);
    };
    return environment;
}
