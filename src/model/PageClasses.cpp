#include "presentation/ClassList.h"

#include "model/ClassRegistry.h"
#include "presentation/evProjector.h"
#include "presentation/evProjectorMouseAction.h"
#include "presentation/evProjectorNaviAction.h"
#include "presentation/evProjectorPage.h"
#include "presentation/evProjectorPageElement.h"
#include "presentation/evProjectorSliderElement.h"

void RegisterPresentationClasses()
{
    ClassRegistry& registry = ClassRegistry::Instance();
    registry.Register<evProjectorPageElement>();
    registry.Register<evProjectorMouseAction>();
    registry.Register<evProjectorNaviAction>();
    registry.Register<evProjectorSliderElement>();
    registry.Register<evProjectorPage>();
    registry.Register<evProjector>();
}
