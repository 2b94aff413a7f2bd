#include "presentation/ClassList.h"

#include "model/ClassRegistry.h"

void RegisterPresentationClasses()
{
    [[maybe_unused]] ClassRegistry& registry = ClassRegistry::Instance();
}
