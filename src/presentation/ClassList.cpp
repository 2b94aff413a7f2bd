#include "presentation/ClassList.h"

#include "audio/AudioClasses.h"
#include "model/ClassRegistry.h"
#include "model/ModelClasses.h"

void RegisterAllClasses()
{
    ClassRegistry::Instance().Register<evObject>();
    RegisterPageClasses();
    RegisterElementClasses();
    RegisterAudioClasses();
    RegisterAlbumClasses();
}

void UnregisterAllClasses() { ClassRegistry::Instance().Clear(); }
