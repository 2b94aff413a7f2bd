#include "presentation/ClassList.h"

#include "model/ClassRegistry.h"

void RegisterAllClasses()
{
    ClassRegistry::Instance().Register<evObject>();
    RegisterPresentationClasses();
    RegisterElementClasses();
    RegisterAudioClasses();
    RegisterAlbumClasses();
}

void UnregisterAllClasses() { ClassRegistry::Instance().Clear(); }
