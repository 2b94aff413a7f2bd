#include "presentation/ClassList.h"

#include "model/ClassRegistry.h"

void RegisterAlbumClasses()
{
    [[maybe_unused]] ClassRegistry& registry = ClassRegistry::Instance();
}
