#include "presentation/ClassList.h"

#include "model/ClassRegistry.h"

void RegisterAudioClasses()
{
    [[maybe_unused]] ClassRegistry& registry = ClassRegistry::Instance();
}
