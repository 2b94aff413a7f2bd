#include "model/ModelClasses.h"

#include "model/ClassRegistry.h"
#include "model/evProjector.h"
#include "model/evProjectorMouseAction.h"
#include "model/evProjectorNaviAction.h"
#include "model/evProjectorPage.h"
#include "model/evProjectorPageElement.h"
#include "model/evProjectorSliderElement.h"

void RegisterPageClasses()
{
    ClassRegistry& registry = ClassRegistry::Instance();
    registry.Register<evProjectorPageElement>();
    registry.Register<evProjectorMouseAction>();
    registry.Register<evProjectorNaviAction>();
    registry.Register<evProjectorSliderElement>();
    registry.Register<evProjectorPage>();
    registry.Register<evProjector>();
}
