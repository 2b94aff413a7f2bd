#include "presentation/ClassList.h"

#include "model/ClassRegistry.h"

void RegisterElementClasses()
{
    [[maybe_unused]] ClassRegistry& registry = ClassRegistry::Instance();
}
