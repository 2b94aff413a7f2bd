#include "audio/AudioClasses.h"

#include "audio/evMusic.h"
#include "model/ClassRegistry.h"

void RegisterAudioClasses() { ClassRegistry::Instance().Register<evMusic>(); }
